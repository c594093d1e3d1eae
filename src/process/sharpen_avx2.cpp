#if defined(__x86_64__)

#include <immintrin.h>

#include "process/sharpen_rows.h"

namespace ravinel {
namespace {

// 28 c - corners - 2 sides of sixteen 16-bit lanes, then the rounding of sharpenedValue.
__attribute__((target("avx2"))) inline __m256i sharpenedWords(__m256i c, __m256i corners,
                                                              __m256i sides) {
    const __m256i v = _mm256_sub_epi16(
        _mm256_sub_epi16(_mm256_sub_epi16(_mm256_slli_epi16(c, 5), _mm256_slli_epi16(c, 2)),
                         corners),
        _mm256_slli_epi16(sides, 1));
    return _mm256_srai_epi16(_mm256_adds_epi16(v, _mm256_set1_epi16(8)), 4);
}

__attribute__((target("avx2"))) inline __m256i load(const uint8_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}

}  // namespace

__attribute__((target("avx2"))) int sharpenBytesAvx2(const uint8_t* above, const uint8_t* row,
                                                     const uint8_t* below, uint8_t* dst, int begin,
                                                     int end) {
    const __m256i zero = _mm256_setzero_si256();
    int i = begin;
    // Reads reach i + 34.
    for (; i + 32 <= end; i += 32) {
        const __m256i a0 = load(above + i - 3);
        const __m256i a3 = load(above + i);
        const __m256i a6 = load(above + i + 3);
        const __m256i r0 = load(row + i - 3);
        const __m256i r3 = load(row + i);
        const __m256i r6 = load(row + i + 3);
        const __m256i b0 = load(below + i - 3);
        const __m256i b3 = load(below + i);
        const __m256i b6 = load(below + i + 3);
        // Unpacking within each 128-bit lane and packing back restores the byte order.
        const __m256i lo = sharpenedWords(
            _mm256_unpacklo_epi8(r3, zero),
            _mm256_add_epi16(
                _mm256_add_epi16(_mm256_unpacklo_epi8(a0, zero), _mm256_unpacklo_epi8(a6, zero)),
                _mm256_add_epi16(_mm256_unpacklo_epi8(b0, zero), _mm256_unpacklo_epi8(b6, zero))),
            _mm256_add_epi16(
                _mm256_add_epi16(_mm256_unpacklo_epi8(a3, zero), _mm256_unpacklo_epi8(r0, zero)),
                _mm256_add_epi16(_mm256_unpacklo_epi8(r6, zero), _mm256_unpacklo_epi8(b3, zero))));
        const __m256i hi = sharpenedWords(
            _mm256_unpackhi_epi8(r3, zero),
            _mm256_add_epi16(
                _mm256_add_epi16(_mm256_unpackhi_epi8(a0, zero), _mm256_unpackhi_epi8(a6, zero)),
                _mm256_add_epi16(_mm256_unpackhi_epi8(b0, zero), _mm256_unpackhi_epi8(b6, zero))),
            _mm256_add_epi16(
                _mm256_add_epi16(_mm256_unpackhi_epi8(a3, zero), _mm256_unpackhi_epi8(r0, zero)),
                _mm256_add_epi16(_mm256_unpackhi_epi8(r6, zero), _mm256_unpackhi_epi8(b3, zero))));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_packus_epi16(lo, hi));
    }
    return i;
}

}  // namespace ravinel

#endif
