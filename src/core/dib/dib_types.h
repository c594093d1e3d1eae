#pragma once

#include <cstddef>
#include <cstdint>

namespace ravinel {

// The BITMAPINFOHEADER of a device-independent bitmap, field for field.
struct BitmapInfoHeader {
    uint32_t biSize = 40;
    int32_t biWidth = 0;
    int32_t biHeight = 0;  // positive: rows stored bottom-up; negative: top-down
    uint16_t biPlanes = 1;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 3780;
    int32_t biYPelsPerMeter = 3780;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct RgbQuad {
    uint8_t rgbBlue = 0;
    uint8_t rgbGreen = 0;
    uint8_t rgbRed = 0;
    uint8_t rgbReserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};

// biCompression values.
inline constexpr uint32_t kBiRgb = 0;
inline constexpr uint32_t kBiRle8 = 1;
inline constexpr uint32_t kBiRle4 = 2;
inline constexpr uint32_t kBiBitfields = 3;

inline constexpr int32_t kDefaultPelsPerMeter = 3780;
inline constexpr int kMaxPaletteEntries = 256;

// Pixel formats of a DIB. 0 to 5 are formats a DIB can have; 6 and 7 are conversion
// targets only.
enum class NkDibPixelFormat : int {
    pf1Bit = 0,
    pf4Bit = 1,
    pf4BitRle = 2,
    pf8Bit = 3,
    pf8BitRle = 4,
    pf24Bit = 5,
    pf8BitHalftone = 6,
    pf1BitHalftone = 7,
};

// Bytes of one row, padded to a multiple of four. Sizes come from 32-bit header fields,
// so the 64-bit arithmetic here cannot overflow.
inline constexpr size_t dibStride(int bitCount, int64_t width) {
    return static_cast<size_t>((static_cast<int64_t>(bitCount) * width + 31) / 32 * 4);
}

}  // namespace ravinel
