// Writes the tests' DNG, turned by the orientation given: write_test_dng OUT.dng [TAG].
#include <cstdlib>
#include <iostream>

#include "tests/plugins/dng_writer.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: write_test_dng OUT.dng [ORIENTATION]\n";
        return 2;
    }
    ravinel::test::DngPicture picture;
    if (argc == 3) {
        picture.orientation = std::atoi(argv[2]);
    }
    return ravinel::test::writeDng(picture, argv[1]) ? 0 : 1;
}
