// A file in the temporary folder for one test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ravinel::test {

using Bytes = std::vector<std::uint8_t>;

// A file in the temporary folder holding the bytes, removed with the object.
class TemporaryFile {
  public:
    TemporaryFile(const std::string& name, const Bytes& data);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace ravinel::test
