#include "tests/plugins/temporary_file.h"

#include <unistd.h>

#include <fstream>

namespace ravinel::test {

TemporaryFile::TemporaryFile(const std::string& name, const Bytes& data)
    : path_(std::filesystem::temp_directory_path() /
            ("ravinel-spi-" + std::to_string(getpid()) + "-" + name)) {
    std::ofstream out(path_, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

TemporaryFile::~TemporaryFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

}  // namespace ravinel::test
