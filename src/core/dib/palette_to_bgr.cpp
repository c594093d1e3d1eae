#include "dib/palette_to_bgr.h"

#include <bit>
#include <cstring>

#include "dib/dib_pixel_index.h"
#include "platform/simd_level.h"

namespace ravinel {
namespace {

// Each pixel's colour is written as a whole word whose fourth byte lands on the next
// pixel, which overwrites it; only the row's last pixel is copied byte by byte.
template <int BitCount>
void rowToBgr(const uint8_t* in, size_t count, const PaletteWords& words, uint8_t* out, size_t x) {
    const size_t last = count - 1;
    if constexpr (BitCount == 1) {
        // A byte at a time: eight pixels from one load.
        for (; x + 8 <= last; x += 8) {
            const unsigned bits = in[x / 8];
            for (size_t k = 0; k < 8; ++k) {
                const uint32_t word = words[bits >> (7 - k) & 1];
                std::memcpy(out + 3 * (x + k), &word, 4);
            }
        }
    }
    for (; x < last; ++x) {
        const uint32_t word = words[paletteIndex(in, static_cast<int64_t>(x), BitCount)];
        std::memcpy(out + 3 * x, &word, 4);
    }
    const uint32_t word = words[paletteIndex(in, static_cast<int64_t>(last), BitCount)];
    out[3 * last] = static_cast<uint8_t>(word);
    out[3 * last + 1] = static_cast<uint8_t>(word >> 8);
    out[3 * last + 2] = static_cast<uint8_t>(word >> 16);
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
    if (count == 0) {
        return;
    }
    size_t done = 0;
#if defined(__x86_64__)
    if (bitCount != 8 && simdLevel() == SimdLevel::avx2) {
        done = paletteRowToBgrAvx2(in, count, bitCount, words, out);
        if (done == count) {
            return;
        }
    }
#endif
    if (bitCount == 1) {
        rowToBgr<1>(in, count, words, out, done);
    } else if (bitCount == 4) {
        rowToBgr<4>(in, count, words, out, done);
    } else {
        rowToBgr<8>(in, count, words, out, done);
    }
}

}  // namespace ravinel
