#if defined(__x86_64__)

#include <immintrin.h>

#include "process/filter/dither_rows.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

constexpr int kRows = kAvx2DitherRows;

// Groups whose pixel is outside its row pass on no error.
RAVINEL_AVX2 __m256i insideLanes(int t, int width) {
    return _mm256_set_epi64x(insideRow(t, 3, width) ? -1 : 0, insideRow(t, 2, width) ? -1 : 0,
                             insideRow(t, 1, width) ? -1 : 0, insideRow(t, 0, width) ? -1 : 0);
}

}  // namespace

RAVINEL_AVX2 void ditherRowsAvx2(uint8_t* const* rows, int rowCount, int width, int16_t* errors) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i maxLevel = _mm256_set1_epi16(255);
    // Blue and red keep 5 bits, green 6; the spare lane stays 0.
    const __m256i masks = _mm256_setr_epi16(0xF8, 0xFC, 0xF8, 0, 0xF8, 0xFC, 0xF8, 0,  //
                                            0xF8, 0xFC, 0xF8, 0, 0xF8, 0xFC, 0xF8, 0);
    const __m256i allInside = _mm256_set1_epi32(-1);
    const int steps = wavefrontSteps(kRows, width);
    std::vector<int16_t> lanes;
    for (int first = 0; first < rowCount; first += kRows) {
        skewRows(rows + first, kRows, width, lanes);
        // carry: 7 d to the right; below and belowRight: what the pixels below the left
        // neighbour and below this one have from the row so far; passed: the finished
        // error below the left neighbour, which the next group takes as its own.
        __m256i carry = zero;
        __m256i below = zero;
        __m256i belowRight = zero;
        __m256i passed = zero;
        for (int t = 0; t < steps; ++t) {
            auto* step = reinterpret_cast<__m256i*>(lanes.data() + 4 * kRows * t);
            const __m256i p = _mm256_loadu_si256(step);
            // Group j takes group j - 1's error; group 0 the one from before these rows.
            const __m256i fromAbove = _mm256_blend_epi32(
                _mm256_permute4x64_epi64(passed, _MM_SHUFFLE(2, 1, 0, 3)),
                _mm256_castsi128_si256(
                    _mm_loadl_epi64(reinterpret_cast<const __m128i*>(errors + 4 * t))),
                0x03);
            const __m256i e = _mm256_add_epi16(fromAbove, carry);
            const __m256i level =
                _mm256_srai_epi16(_mm256_adds_epi16(_mm256_slli_epi16(p, 4), e), 4);
            const __m256i q =
                _mm256_and_si256(_mm256_min_epi16(_mm256_max_epi16(level, zero), maxLevel), masks);
            const bool inside = t >= 2 * (kRows - 1) && t < width;
            const __m256i d = _mm256_and_si256(_mm256_sub_epi16(p, q),
                                               inside ? allInside : insideLanes(t, width));
            _mm256_storeu_si256(step, q);
            carry = _mm256_sub_epi16(_mm256_slli_epi16(d, 3), d);
            passed = _mm256_add_epi16(below, _mm256_add_epi16(_mm256_slli_epi16(d, 1), d));
            below = _mm256_add_epi16(belowRight, _mm256_add_epi16(_mm256_slli_epi16(d, 2), d));
            belowRight = d;
            // The last row's finished error below pixel t - 2 (kRows - 1) - 1.
            const int into = t - 2 * kRows + 1;
            if (into >= 0) {
                _mm_storeh_pd(reinterpret_cast<double*>(errors + 4 * into),
                              _mm_castsi128_pd(_mm256_extracti128_si256(passed, 1)));
            }
        }
        unskewRows(lanes, kRows, width, rows + first);
    }
}

}  // namespace ravinel

#undef RAVINEL_AVX2

#endif
