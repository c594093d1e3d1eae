#include "listing_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>

namespace ravinel::bench {

void writeListingFiles(const std::string& dir, int count) {
    const char* styles[] = {"IMG_%04d.JPG", "img%d.jpg",      "Scan %03d.png",
                            "DSC%05d.jpeg", "photo-%d-b.JPG", "\xE5\x86\x99\xE7\x9C\x9F%d.bmp"};
    for (int k = 0; k < count; ++k) {
        char name[64];
        std::snprintf(name, sizeof name, styles[k % 6], k * 7 % 10007);
        const std::string file = dir + name + (k % 5 == 0 ? "" : "x") + std::to_string(k);
        const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ftruncate(fd, (k * 7919) % 100000) != 0) {
            throw std::runtime_error("cannot make " + file);
        }
        const timespec times[2] = {{1000000000 + (k * 104729L) % 500000000, 0},
                                   {1000000000 + (k * 104729L) % 500000000, 0}};
        futimens(fd, times);
        close(fd);
    }
}

}  // namespace ravinel::bench
