#if defined(__x86_64__)

#include <emmintrin.h>

#include "process/sharpen_rows.h"

namespace ravinel {
namespace {

// 28 c - corners - 2 sides of eight 16-bit lanes, then the rounding of sharpenedValue.
inline __m128i sharpenedWords(__m128i c, __m128i corners, __m128i sides) {
    const __m128i v = _mm_sub_epi16(
        _mm_sub_epi16(_mm_sub_epi16(_mm_slli_epi16(c, 5), _mm_slli_epi16(c, 2)), corners),
        _mm_slli_epi16(sides, 1));
    return _mm_srai_epi16(_mm_adds_epi16(v, _mm_set1_epi16(8)), 4);
}

inline __m128i load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

}  // namespace

int sharpenBytesSse2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int begin, int end) {
    const __m128i zero = _mm_setzero_si128();
    int i = begin;
    // Reads reach i + 18.
    for (; i + 16 <= end; i += 16) {
        const __m128i a0 = load(above + i - 3);
        const __m128i a3 = load(above + i);
        const __m128i a6 = load(above + i + 3);
        const __m128i r0 = load(row + i - 3);
        const __m128i r3 = load(row + i);
        const __m128i r6 = load(row + i + 3);
        const __m128i b0 = load(below + i - 3);
        const __m128i b3 = load(below + i);
        const __m128i b6 = load(below + i + 3);
        __m128i half[2];
        for (int h = 0; h < 2; ++h) {
            const auto widen = [&](__m128i v) {
                return h == 0 ? _mm_unpacklo_epi8(v, zero) : _mm_unpackhi_epi8(v, zero);
            };
            const __m128i corners = _mm_add_epi16(_mm_add_epi16(widen(a0), widen(a6)),
                                                  _mm_add_epi16(widen(b0), widen(b6)));
            const __m128i sides = _mm_add_epi16(_mm_add_epi16(widen(a3), widen(r0)),
                                                _mm_add_epi16(widen(r6), widen(b3)));
            half[h] = sharpenedWords(widen(r3), corners, sides);
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(half[0], half[1]));
    }
    return i;
}

}  // namespace ravinel

#endif
