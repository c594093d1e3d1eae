#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravinel {

// The whole content of a file, read in one go. Throws GraphicLoadError when the file
// cannot be opened or read, or is larger than maxBytes.
std::vector<uint8_t> readFileBytes(const std::string& path, uint64_t maxBytes);

// The length of a file; throws GraphicLoadError when it cannot be had.
uint64_t fileByteSize(const std::string& path);

}  // namespace ravinel
