#if defined(__x86_64__)

#include <emmintrin.h>

#include "process/filter/sharpen_rows.h"

namespace ravinel {
namespace {

// The bytes left of, at and right of sixteen bytes of a row.
struct Neighbourhood {
    __m128i left;
    __m128i centre;
    __m128i right;
};

inline Neighbourhood load(const uint8_t* row, int i) {
    return {_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i - 3)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i + 3))};
}

// The low or high eight bytes as 16-bit words.
template <bool kHigh>
inline __m128i widen(__m128i v) {
    return kHigh ? _mm_unpackhi_epi8(v, _mm_setzero_si128())
                 : _mm_unpacklo_epi8(v, _mm_setzero_si128());
}

// 28 c - corners - 2 sides of eight bytes, then the rounding of sharpenedValue.
template <bool kHigh>
inline __m128i sharpenedWords(const Neighbourhood& a, const Neighbourhood& r,
                              const Neighbourhood& b) {
    const __m128i corners =
        _mm_add_epi16(_mm_add_epi16(widen<kHigh>(a.left), widen<kHigh>(a.right)),
                      _mm_add_epi16(widen<kHigh>(b.left), widen<kHigh>(b.right)));
    const __m128i sides =
        _mm_add_epi16(_mm_add_epi16(widen<kHigh>(a.centre), widen<kHigh>(r.left)),
                      _mm_add_epi16(widen<kHigh>(r.right), widen<kHigh>(b.centre)));
    const __m128i c = widen<kHigh>(r.centre);
    const __m128i v = _mm_sub_epi16(
        _mm_sub_epi16(_mm_sub_epi16(_mm_slli_epi16(c, 5), _mm_slli_epi16(c, 2)), corners),
        _mm_slli_epi16(sides, 1));
    return _mm_srai_epi16(_mm_adds_epi16(v, _mm_set1_epi16(8)), 4);
}

}  // namespace

int sharpenBytesSse2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int begin, int end) {
    int i = begin;
    // Reads reach i + 18.
    for (; i + 16 <= end; i += 16) {
        const Neighbourhood a = load(above, i);
        const Neighbourhood r = load(row, i);
        const Neighbourhood b = load(below, i);
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(dst + i),
            _mm_packus_epi16(sharpenedWords<false>(a, r, b), sharpenedWords<true>(a, r, b)));
    }
    return i;
}

}  // namespace ravinel

#endif
