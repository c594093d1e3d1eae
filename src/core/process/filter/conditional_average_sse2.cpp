#if defined(__x86_64__)

#include <emmintrin.h>

#include "process/filter/conditional_average_rows.h"

namespace ravinel {
namespace {

// A vector holds five pixels, bytes 0..14; byte 15 belongs to the next pixel and comes out
// wrong, to be overwritten. Offsets of the eight neighbours as in the portable loop.
constexpr int kNeighbours[8][2] = {{0, 0}, {0, 3}, {0, 6}, {1, 0}, {1, 6}, {2, 0}, {2, 3}, {2, 6}};

inline __m128i load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// The rounded means sum / count of four lanes.
inline __m128i means(__m128i sums, __m128i counts) {
    const __m128 reciprocal = _mm_div_ps(_mm_set1_ps(1.0f), _mm_cvtepi32_ps(counts));
    const __m128 product = _mm_mul_ps(_mm_cvtepi32_ps(sums), reciprocal);
    return _mm_cvttps_epi32(_mm_add_ps(product, _mm_set1_ps(0.5f)));
}

inline __m128i meanWords(__m128i sums, __m128i counts) {
    const __m128i zero = _mm_setzero_si128();
    return _mm_packs_epi32(means(_mm_unpacklo_epi16(sums, zero), _mm_unpacklo_epi16(counts, zero)),
                           means(_mm_unpackhi_epi16(sums, zero), _mm_unpackhi_epi16(counts, zero)));
}

// Five averaged pixels; left is the offset of the first one's left neighbour in the rows
// of the bordered copy.
inline __m128i averagedGroup(const RowWindow& window, size_t left, __m128i threshold) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i blue = _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0);
    const __m128i centre = load(window[1] + left + 3);
    __m128i sumsLow = _mm_unpacklo_epi8(centre, zero);
    __m128i sumsHigh = _mm_unpackhi_epi8(centre, zero);
    __m128i counts = _mm_set1_epi8(1);
    for (const auto& [row, offset] : kNeighbours) {
        const __m128i n = load(window[static_cast<size_t>(row)] + left + offset);
        const __m128i difference = _mm_or_si128(_mm_subs_epu8(n, centre), _mm_subs_epu8(centre, n));
        const __m128i close = _mm_cmpeq_epi8(_mm_subs_epu8(difference, threshold), zero);
        // All three channels close, at each pixel's blue byte, then over the pixel's bytes.
        const __m128i all =
            _mm_and_si128(_mm_and_si128(close, blue),
                          _mm_and_si128(_mm_srli_si128(close, 1), _mm_srli_si128(close, 2)));
        const __m128i taken =
            _mm_or_si128(all, _mm_or_si128(_mm_slli_si128(all, 1), _mm_slli_si128(all, 2)));
        const __m128i added = _mm_and_si128(n, taken);
        sumsLow = _mm_add_epi16(sumsLow, _mm_unpacklo_epi8(added, zero));
        sumsHigh = _mm_add_epi16(sumsHigh, _mm_unpackhi_epi8(added, zero));
        counts = _mm_sub_epi8(counts, taken);
    }
    return _mm_packus_epi16(meanWords(sumsLow, _mm_unpacklo_epi8(counts, zero)),
                            meanWords(sumsHigh, _mm_unpackhi_epi8(counts, zero)));
}

}  // namespace

int averagePixelsSse2(const RowWindow& window, uint8_t* dst, int width, uint8_t threshold) {
    const __m128i thresholds = _mm_set1_epi8(static_cast<char>(threshold));
    int x = 0;
    // Reads reach 21 bytes past the left neighbour, in rows of 3 width + 6 bytes.
    for (; 3 * x + 16 <= 3 * width; x += 5) {
        const size_t left = 3 * static_cast<size_t>(x);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + left),
                         averagedGroup(window, left, thresholds));
    }
    return x;
}

}  // namespace ravinel

#endif
