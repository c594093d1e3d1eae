#if defined(__x86_64__)

#include <emmintrin.h>

#include "process/resample/area_kernels.h"

namespace ravinel {
namespace {

// b + ((a - b) x frac + 16384) >> 15 is the mix (a x frac + b x (32768 - frac) + 16384)
// >> 15: pairs (a - b, 1) meet (frac, 16384) in pmaddwd. weights holds that pair.
inline __m128i mixed(__m128i difference, __m128i weights) {
    return _mm_srai_epi32(_mm_madd_epi16(difference, weights), 15);
}

inline __m128i mixWeights(int32_t frac) {
    return _mm_set1_epi32(frac | 16384 << 16);
}

}  // namespace

// Two destination pixels at a time, their channels in 16-bit lanes (the fourth lane of
// each holds a byte of the next pixel and is thrown away).
void expandRowsHSse2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     int32_t sourceWidth, std::span<const ExpansionTap> taps) {
    // 4-byte loads stay inside the row before the last source pixel, 4-byte stores
    // before the last destination pixel.
    size_t count = taps.size() - 1;
    while (count > 0 && taps[count - 1].b >= sourceWidth - 1) {
        --count;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    for (size_t y = 0; y < in.size(); ++y) {
        const uint8_t* src = in[y];
        uint8_t* dst = out[y];
        size_t x = 0;
        for (; x + 2 <= count; x += 2) {
            const ExpansionTap& left = taps[x];
            const ExpansionTap& right = taps[x + 1];
            const __m128i a = _mm_unpacklo_epi8(
                _mm_unpacklo_epi32(loadPixel(src + 3 * left.a), loadPixel(src + 3 * right.a)),
                zero);
            const __m128i b = _mm_unpacklo_epi8(
                _mm_unpacklo_epi32(loadPixel(src + 3 * left.b), loadPixel(src + 3 * right.b)),
                zero);
            const __m128i difference = _mm_sub_epi16(a, b);
            const __m128i low = mixed(_mm_unpacklo_epi16(difference, one), mixWeights(left.frac));
            const __m128i high = mixed(_mm_unpackhi_epi16(difference, one), mixWeights(right.frac));
            const __m128i words = _mm_add_epi16(b, _mm_packs_epi32(low, high));
            const __m128i bytes = _mm_packus_epi16(words, words);
            storePixel(dst + 3 * x, bytes);
            storePixel(dst + 3 * x + 3, _mm_srli_si128(bytes, 4));
        }
        expandByTaps(src, dst, taps, x);
    }
}

// Sixteen bytes at a time, in 16-bit lanes.
size_t blendRowsSse2(const uint8_t* carried, const uint8_t* row, uint8_t* dst, size_t rowBytes,
                     uint32_t frac) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = _mm_set1_epi16(1);
    const __m128i weights = mixWeights(static_cast<int32_t>(frac));
    size_t x = 0;
    for (; x + 16 <= rowBytes; x += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(carried + x));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
        __m128i words[2];
        for (int half = 0; half < 2; ++half) {
            const __m128i a16 = half == 0 ? _mm_unpacklo_epi8(a, zero) : _mm_unpackhi_epi8(a, zero);
            const __m128i b16 = half == 0 ? _mm_unpacklo_epi8(b, zero) : _mm_unpackhi_epi8(b, zero);
            const __m128i difference = _mm_sub_epi16(a16, b16);
            const __m128i low = mixed(_mm_unpacklo_epi16(difference, one), weights);
            const __m128i high = mixed(_mm_unpackhi_epi16(difference, one), weights);
            words[half] = _mm_add_epi16(b16, _mm_packs_epi32(low, high));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), _mm_packus_epi16(words[0], words[1]));
    }
    return x;
}

}  // namespace ravinel

#endif
