#if defined(__x86_64__)

#include <immintrin.h>

#include "process/filter/sharpen_rows.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

// The bytes left of, at and right of thirty-two bytes of a row.
struct Neighbourhood {
    __m256i left;
    __m256i centre;
    __m256i right;
};

RAVINEL_AVX2 inline Neighbourhood load(const uint8_t* row, int i) {
    return {_mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i - 3)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i)),
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + i + 3))};
}

// The low or high eight bytes of each 128-bit half as 16-bit words; packing the two
// results back restores the byte order.
template <bool kHigh>
RAVINEL_AVX2 inline __m256i widen(__m256i v) {
    return kHigh ? _mm256_unpackhi_epi8(v, _mm256_setzero_si256())
                 : _mm256_unpacklo_epi8(v, _mm256_setzero_si256());
}

// 28 c - corners - 2 sides of sixteen bytes, then the rounding of sharpenedValue.
template <bool kHigh>
RAVINEL_AVX2 inline __m256i sharpenedWords(const Neighbourhood& a, const Neighbourhood& r,
                                           const Neighbourhood& b) {
    const __m256i corners =
        _mm256_add_epi16(_mm256_add_epi16(widen<kHigh>(a.left), widen<kHigh>(a.right)),
                         _mm256_add_epi16(widen<kHigh>(b.left), widen<kHigh>(b.right)));
    const __m256i sides =
        _mm256_add_epi16(_mm256_add_epi16(widen<kHigh>(a.centre), widen<kHigh>(r.left)),
                         _mm256_add_epi16(widen<kHigh>(r.right), widen<kHigh>(b.centre)));
    const __m256i c = widen<kHigh>(r.centre);
    const __m256i v = _mm256_sub_epi16(
        _mm256_sub_epi16(_mm256_sub_epi16(_mm256_slli_epi16(c, 5), _mm256_slli_epi16(c, 2)),
                         corners),
        _mm256_slli_epi16(sides, 1));
    return _mm256_srai_epi16(_mm256_adds_epi16(v, _mm256_set1_epi16(8)), 4);
}

}  // namespace

RAVINEL_AVX2 int sharpenBytesAvx2(const uint8_t* above, const uint8_t* row, const uint8_t* below,
                                  uint8_t* dst, int begin, int end) {
    int i = begin;
    // Reads reach i + 34.
    for (; i + 32 <= end; i += 32) {
        const Neighbourhood a = load(above, i);
        const Neighbourhood r = load(row, i);
        const Neighbourhood b = load(below, i);
        _mm256_storeu_si256(
            reinterpret_cast<__m256i*>(dst + i),
            _mm256_packus_epi16(sharpenedWords<false>(a, r, b), sharpenedWords<true>(a, r, b)));
    }
    return i;
}

}  // namespace ravinel

#undef RAVINEL_AVX2

#endif
