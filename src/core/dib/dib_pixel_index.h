#pragma once

#include <cstdint>

namespace ravinel {

// Palette index of pixel x in a row of a 1, 4 or 8-bit picture (most significant bits
// first, as DIBs pack them).
inline uint8_t paletteIndex(const uint8_t* row, int64_t x, int bitCount) {
    switch (bitCount) {
        case 1:
            return static_cast<uint8_t>(row[x / 8] >> (7 - x % 8) & 1);
        case 4:
            return static_cast<uint8_t>(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        default:
            return row[x];
    }
}

inline void setPaletteIndex(uint8_t* row, int64_t x, int bitCount, uint8_t index) {
    switch (bitCount) {
        case 1: {
            const int shift = static_cast<int>(7 - x % 8);
            row[x / 8] = static_cast<uint8_t>((row[x / 8] & ~(1 << shift)) | (index & 1) << shift);
            break;
        }
        case 4:
            row[x / 2] = x % 2 == 0 ? static_cast<uint8_t>((row[x / 2] & 0x0F) | index << 4)
                                    : static_cast<uint8_t>((row[x / 2] & 0xF0) | (index & 0x0F));
            break;
        default:
            row[x] = index;
            break;
    }
}

}  // namespace ravinel
