#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "image/dib_types.h"

namespace ravinel::testing {

// The parts of a BMP file image as a test wants to write them, lies included.
struct BmpParts {
    uint32_t headerSize = 40;  // 12, 16, 40, 52, 56, 64, 108, 124 or any other number
    int32_t width = 1;
    int32_t height = 1;  // negative: top-down
    uint16_t bitCount = 24;
    uint32_t compression = kBiRgb;
    std::vector<uint32_t> masks;   // written inside headers from 52 bytes on, else after the header
    std::vector<RgbQuad> palette;  // 3 bytes an entry with the 12-byte header
    uint32_t colorsUsed = 0;
    std::vector<uint8_t> pixels;       // exactly as stored in the file
    std::optional<uint32_t> offBits;   // default: where the pixels are written
    std::optional<uint32_t> fileSize;  // default: the real length
};

std::vector<uint8_t> buildBmp(const BmpParts& parts);

}  // namespace ravinel::testing
