#if defined(__x86_64__)

#include <emmintrin.h>

#include "process/filter/dither_rows.h"

namespace ravinel {
namespace {

constexpr int kRows = kSse2DitherRows;

// Groups whose pixel is outside its row pass on no error.
__m128i insideLanes(int t, int width) {
    return _mm_set_epi64x(insideRow(t, 1, width) ? -1 : 0, insideRow(t, 0, width) ? -1 : 0);
}

}  // namespace

void ditherRowsSse2(uint8_t* const* rows, int rowCount, int width, int16_t* errors) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i maxLevel = _mm_set1_epi16(255);
    // Blue and red keep 5 bits, green 6; the spare lane stays 0.
    const __m128i masks = _mm_setr_epi16(0xF8, 0xFC, 0xF8, 0, 0xF8, 0xFC, 0xF8, 0);
    const __m128i allInside = _mm_set1_epi32(-1);
    const int steps = wavefrontSteps(kRows, width);
    std::vector<int16_t> lanes;
    for (int first = 0; first < rowCount; first += kRows) {
        skewRows(rows + first, kRows, width, lanes);
        // carry: 7 d to the right; below and belowRight: what the pixels below the left
        // neighbour and below this one have from the row so far; passed: the finished
        // error below the left neighbour, which the next group takes as its own.
        __m128i carry = zero;
        __m128i below = zero;
        __m128i belowRight = zero;
        __m128i passed = zero;
        for (int t = 0; t < steps; ++t) {
            auto* step = reinterpret_cast<__m128i*>(lanes.data() + 4 * kRows * t);
            const __m128i p = _mm_loadu_si128(step);
            const __m128i fromAbove = _mm_unpacklo_epi64(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(errors + 4 * t)), passed);
            const __m128i e = _mm_add_epi16(fromAbove, carry);
            const __m128i level = _mm_srai_epi16(_mm_adds_epi16(_mm_slli_epi16(p, 4), e), 4);
            const __m128i q =
                _mm_and_si128(_mm_min_epi16(_mm_max_epi16(level, zero), maxLevel), masks);
            const bool inside = t >= 2 * (kRows - 1) && t < width;
            const __m128i d =
                _mm_and_si128(_mm_sub_epi16(p, q), inside ? allInside : insideLanes(t, width));
            _mm_storeu_si128(step, q);
            carry = _mm_sub_epi16(_mm_slli_epi16(d, 3), d);
            passed = _mm_add_epi16(below, _mm_add_epi16(_mm_slli_epi16(d, 1), d));
            below = _mm_add_epi16(belowRight, _mm_add_epi16(_mm_slli_epi16(d, 2), d));
            belowRight = d;
            // The last row's finished error below pixel t - 2 (kRows - 1) - 1.
            const int into = t - 2 * kRows + 1;
            if (into >= 0) {
                _mm_storeh_pd(reinterpret_cast<double*>(errors + 4 * into),
                              _mm_castsi128_pd(passed));
            }
        }
        unskewRows(lanes, kRows, width, rows + first);
    }
}

}  // namespace ravinel

#endif
