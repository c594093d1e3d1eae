#include "dib/palette_to_bgr.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <array>

namespace ravinel {
namespace {

using ByteMask = std::array<uint8_t, 16>;

// Where byte j of the 16-byte piece `piece` of 48 blue, green, red bytes comes from in the
// 16 values of `channel` (0x80: nowhere, the byte is zero).
constexpr ByteMask interleaveMask(int piece, int channel) {
    ByteMask mask{};
    for (int j = 0; j < 16; ++j) {
        const int byte = 16 * piece + j;
        mask[static_cast<size_t>(j)] = static_cast<uint8_t>(byte % 3 == channel ? byte / 3 : 0x80);
    }
    return mask;
}

constexpr std::array<std::array<ByteMask, 3>, 3> kInterleave{{
    {interleaveMask(0, 0), interleaveMask(0, 1), interleaveMask(0, 2)},
    {interleaveMask(1, 0), interleaveMask(1, 1), interleaveMask(1, 2)},
    {interleaveMask(2, 0), interleaveMask(2, 1), interleaveMask(2, 2)},
}};

__attribute__((target("avx2"))) __m128i loadMask(const ByteMask& mask) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask.data()));
}

// Sixteen palette indices (0 to 15) to 48 bytes of colour: one byte lookup per channel.
__attribute__((target("avx2"))) void storeSixteen(uint8_t* out, __m128i indices,
                                                  const __m128i (&tables)[3]) {
    __m128i channel[3];
    for (size_t c = 0; c < 3; ++c) {
        channel[c] = _mm_shuffle_epi8(tables[c], indices);
    }
    for (size_t piece = 0; piece < 3; ++piece) {
        __m128i bytes = _mm_setzero_si128();
        for (size_t c = 0; c < 3; ++c) {
            bytes =
                _mm_or_si128(bytes, _mm_shuffle_epi8(channel[c], loadMask(kInterleave[piece][c])));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16 * piece), bytes);
    }
}

}  // namespace

__attribute__((target("avx2"))) size_t paletteRowToBgrAvx2(const uint8_t* in, size_t count,
                                                           int bitCount, const PaletteWords& words,
                                                           uint8_t* out) {
    alignas(16) std::array<std::array<uint8_t, 16>, 3> bytes{};
    for (size_t i = 0; i < 16; ++i) {
        for (size_t c = 0; c < 3; ++c) {
            bytes[c][i] = static_cast<uint8_t>(words[i] >> (8 * c));
        }
    }
    const __m128i tables[3]{loadMask(bytes[0]), loadMask(bytes[1]), loadMask(bytes[2])};
    const __m128i lowNibbles = _mm_set1_epi8(0x0F);
    // Bit k of a byte is pixel 7 - k.
    const __m128i bitOfPixel =
        _mm_setr_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    const __m128i eightEach = _mm_setr_epi8(0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1);
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        __m128i indices;
        if (bitCount == 4) {
            const __m128i packed = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x / 2));
            const __m128i high = _mm_and_si128(_mm_srli_epi16(packed, 4), lowNibbles);
            indices = _mm_unpacklo_epi8(high, _mm_and_si128(packed, lowNibbles));
        } else {
            const int pair = in[x / 8] | in[x / 8 + 1] << 8;
            const __m128i twoBytes = _mm_shuffle_epi8(_mm_cvtsi32_si128(pair), eightEach);
            const __m128i set = _mm_cmpeq_epi8(_mm_and_si128(twoBytes, bitOfPixel), bitOfPixel);
            indices = _mm_and_si128(set, _mm_set1_epi8(1));
        }
        storeSixteen(out + 3 * x, indices, tables);
    }
    _mm256_zeroupper();
    return x;
}

}  // namespace ravinel

#endif
