#if defined(__x86_64__)

#include <immintrin.h>

#include "process/filter/conditional_average_rows.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

// Each 128-bit half holds five pixels, bytes 0..14; byte 15 belongs to the next pixel and
// comes out wrong, to be overwritten. Offsets of the eight neighbours as in the portable
// loop.
constexpr int kNeighbours[8][2] = {{0, 0}, {0, 3}, {0, 6}, {1, 0}, {1, 6}, {2, 0}, {2, 3}, {2, 6}};

// The sixteen bytes at p in the low half and those at p + 15 in the high half.
RAVINEL_AVX2 inline __m256i loadTwo(const uint8_t* p) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 15)), 1);
}

// The rounded means sum / count of eight lanes.
RAVINEL_AVX2 inline __m256i means(__m256i sums, __m256i counts) {
    const __m256 reciprocal = _mm256_div_ps(_mm256_set1_ps(1.0f), _mm256_cvtepi32_ps(counts));
    const __m256 product = _mm256_mul_ps(_mm256_cvtepi32_ps(sums), reciprocal);
    return _mm256_cvttps_epi32(_mm256_add_ps(product, _mm256_set1_ps(0.5f)));
}

// Unpacking and packing within each 128-bit half keeps the byte order.
RAVINEL_AVX2 inline __m256i meanWords(__m256i sums, __m256i counts) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packs_epi32(
        means(_mm256_unpacklo_epi16(sums, zero), _mm256_unpacklo_epi16(counts, zero)),
        means(_mm256_unpackhi_epi16(sums, zero), _mm256_unpackhi_epi16(counts, zero)));
}

// Ten averaged pixels, five in each half.
RAVINEL_AVX2 inline __m256i averagedGroups(const RowWindow& window, size_t left,
                                           __m256i threshold) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i blue = _mm256_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0,  //
                                          -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
    const __m256i centre = loadTwo(window[1] + left + 3);
    __m256i sumsLow = _mm256_unpacklo_epi8(centre, zero);
    __m256i sumsHigh = _mm256_unpackhi_epi8(centre, zero);
    __m256i counts = _mm256_set1_epi8(1);
    for (const auto& [row, offset] : kNeighbours) {
        const __m256i n = loadTwo(window[static_cast<size_t>(row)] + left + offset);
        const __m256i difference =
            _mm256_or_si256(_mm256_subs_epu8(n, centre), _mm256_subs_epu8(centre, n));
        const __m256i close = _mm256_cmpeq_epi8(_mm256_subs_epu8(difference, threshold), zero);
        // All three channels close, at each pixel's blue byte, then over the pixel's bytes.
        const __m256i all = _mm256_and_si256(
            _mm256_and_si256(close, blue),
            _mm256_and_si256(_mm256_bsrli_epi128(close, 1), _mm256_bsrli_epi128(close, 2)));
        const __m256i taken = _mm256_or_si256(
            all, _mm256_or_si256(_mm256_bslli_epi128(all, 1), _mm256_bslli_epi128(all, 2)));
        const __m256i added = _mm256_and_si256(n, taken);
        sumsLow = _mm256_add_epi16(sumsLow, _mm256_unpacklo_epi8(added, zero));
        sumsHigh = _mm256_add_epi16(sumsHigh, _mm256_unpackhi_epi8(added, zero));
        counts = _mm256_sub_epi8(counts, taken);
    }
    return _mm256_packus_epi16(meanWords(sumsLow, _mm256_unpacklo_epi8(counts, zero)),
                               meanWords(sumsHigh, _mm256_unpackhi_epi8(counts, zero)));
}

}  // namespace

RAVINEL_AVX2 int averagePixelsAvx2(const RowWindow& window, uint8_t* dst, int width,
                                   uint8_t threshold) {
    const __m256i thresholds = _mm256_set1_epi8(static_cast<char>(threshold));
    int x = 0;
    // Reads reach 21 bytes past the second group's left neighbour, in rows of 3 width + 6
    // bytes.
    for (; 3 * x + 31 <= 3 * width; x += 10) {
        const size_t left = 3 * static_cast<size_t>(x);
        const __m256i averaged = averagedGroups(window, left, thresholds);
        // The first half's wrong last byte is the second half's first.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + left), _mm256_castsi256_si128(averaged));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + left + 15),
                         _mm256_extracti128_si256(averaged, 1));
    }
    return x;
}

}  // namespace ravinel

#undef RAVINEL_AVX2

#endif
