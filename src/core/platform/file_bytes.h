#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravinel {

// A file that cannot be opened, read, or is too large; the message names the file.
class FileReadError : public std::runtime_error {
  public:
    explicit FileReadError(const std::string& message) : std::runtime_error(message) {}
};

// The whole content of a file, read in one go. Throws FileReadError when the file
// cannot be opened or read, or is larger than maxBytes.
std::vector<uint8_t> readFileBytes(const std::string& path, uint64_t maxBytes);

// The length of a file; throws FileReadError when it cannot be had.
uint64_t fileByteSize(const std::string& path);

}  // namespace ravinel
