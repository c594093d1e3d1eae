#include "image/palette_to_bgr.h"

#include <bit>
#include <cstring>

#include "image/dib_pixel_index.h"
#include "image/simd_level.h"

namespace ravinel {
namespace {

// The low three bytes of the word are the pixel; the fourth lands on the next pixel,
// which overwrites it, so only the last pixel of a row is copied byte by byte.
void putColor(uint8_t* out, size_t x, size_t count, uint32_t word) {
    if (x + 1 < count) {
        std::memcpy(out + 3 * x, &word, 4);
    } else {
        out[3 * x] = static_cast<uint8_t>(word);
        out[3 * x + 1] = static_cast<uint8_t>(word >> 8);
        out[3 * x + 2] = static_cast<uint8_t>(word >> 16);
    }
}

}  // namespace

PaletteWords paletteWords(const std::array<RgbQuad, kMaxPaletteEntries>& colorTable) {
    PaletteWords words{};
    for (size_t i = 0; i < words.size(); ++i) {
        const RgbQuad& q = colorTable[i];
        words[i] = uint32_t{q.rgbBlue} | uint32_t{q.rgbGreen} << 8 | uint32_t{q.rgbRed} << 16;
    }
    return words;
}

void paletteRowToBgr(const uint8_t* in, size_t count, int bitCount, const PaletteWords& words,
                     uint8_t* out) {
    static_assert(std::endian::native == std::endian::little);
    size_t x = 0;
#if defined(__x86_64__)
    if (bitCount == 8 && simdLevel() == SimdLevel::avx2) {
        x = paletteRow8ToBgrAvx2(in, count, words, out);
    }
#endif
    for (; x < count; ++x) {
        putColor(out, x, count, words[paletteIndex(in, static_cast<int64_t>(x), bitCount)]);
    }
}

}  // namespace ravinel
