#if defined(__x86_64__)

#include <emmintrin.h>

#include <algorithm>

#include "process/resample/area_kernels.h"

namespace ravinel {
namespace {

// pmaddwd multiplies signed 16-bit values and a weight may be 32768: each weight goes in
// less one, and the pixels are added once more. Pairs (first, last) of a channel meet
// (firstWeight - 1, lastWeight - 1); a weight of 0 becomes -1 and cancels its pixel.
inline __m128i edgeWeights(const ReductionSpan& span) {
    const uint32_t first = (span.firstWeight - 1) & 0xFFFF;
    const uint32_t last = (span.lastWeight - 1) & 0xFFFF;
    return _mm_set1_epi32(static_cast<int32_t>(first | last << 16));
}

inline __m128i weighedPairs(__m128i pairs, __m128i weights) {
    return _mm_add_epi32(_mm_madd_epi16(pairs, weights), _mm_madd_epi16(pairs, _mm_set1_epi16(1)));
}

// The upper 32 bits of each 32-bit lane times factor (a 32-bit value in lanes 0 and 2).
inline __m128i scaled(__m128i total, __m128i factor) {
    const __m128i even = _mm_srli_epi64(_mm_mul_epu32(total, factor), 32);
    const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(total, 32), factor);
    return _mm_or_si128(even, _mm_and_si128(odd, _mm_set_epi32(-1, 0, -1, 0)));
}

inline __m128i withBetween(__m128i edges, __m128i between, __m128i bias) {
    return _mm_add_epi32(_mm_add_epi32(edges, _mm_slli_epi32(between, 15)), bias);
}

}  // namespace

// A pixel's channels in the lanes of a vector (the fourth lane holds the next pixel's
// first byte and is thrown away).
void reduceRowsHSse2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     std::span<const ReductionSpan> spans, const ReductionScale& scale) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bias = _mm_set1_epi32(static_cast<int32_t>(scale.bias));
    const __m128i factor = _mm_set1_epi32(static_cast<int32_t>(scale.factor));
    for (size_t y = 0; y < in.size(); ++y) {
        const uint8_t* src = in[y];
        uint8_t* dst = out[y];
        for (const ReductionSpan& span : spans) {
            __m128i between = zero;
            for (int32_t x = span.first + 1; x < span.last; ++x) {
                const __m128i pixel = _mm_unpacklo_epi8(loadPixel(src + 3 * x), zero);
                between = _mm_add_epi32(between, _mm_unpacklo_epi16(pixel, zero));
            }
            const __m128i first = loadPixel(src + 3 * span.first);
            const __m128i last = loadPixel(src + 3 * span.last);
            const __m128i pairs = _mm_unpacklo_epi8(_mm_unpacklo_epi8(first, last), zero);
            const __m128i total =
                withBetween(weighedPairs(pairs, edgeWeights(span)), between, bias);
            const __m128i value = scaled(total, factor);
            const __m128i words = _mm_packs_epi32(value, value);
            storePixel(dst, _mm_packus_epi16(words, words));
            dst += 3;
        }
    }
}

// Sixteen columns at a time, their sums in registers. The rows strictly between are added
// in 16-bit lanes, 256 rows at most before they move to 32 bits.
size_t reduceRowVSse2(std::span<const uint8_t* const> in, uint8_t* dst, size_t rowBytes,
                      const ReductionSpan& span, const ReductionScale& scale) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i bias = _mm_set1_epi32(static_cast<int32_t>(scale.bias));
    const __m128i factor = _mm_set1_epi32(static_cast<int32_t>(scale.factor));
    const __m128i weights = edgeWeights(span);
    const uint8_t* firstRow = in[static_cast<size_t>(span.first)];
    const uint8_t* lastRow = in[static_cast<size_t>(span.last)];
    size_t x = 0;
    for (; x + 16 <= rowBytes; x += 16) {
        __m128i between[4] = {zero, zero, zero, zero};
        for (int32_t y = span.first + 1; y < span.last;) {
            const int32_t end = std::min(span.last, y + 256);
            __m128i low = zero;
            __m128i high = zero;
            for (; y < end; ++y) {
                const __m128i row = _mm_loadu_si128(
                    reinterpret_cast<const __m128i*>(in[static_cast<size_t>(y)] + x));
                low = _mm_add_epi16(low, _mm_unpacklo_epi8(row, zero));
                high = _mm_add_epi16(high, _mm_unpackhi_epi8(row, zero));
            }
            between[0] = _mm_add_epi32(between[0], _mm_unpacklo_epi16(low, zero));
            between[1] = _mm_add_epi32(between[1], _mm_unpackhi_epi16(low, zero));
            between[2] = _mm_add_epi32(between[2], _mm_unpacklo_epi16(high, zero));
            between[3] = _mm_add_epi32(between[3], _mm_unpackhi_epi16(high, zero));
        }
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(firstRow + x));
        const __m128i last = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lastRow + x));
        const __m128i low = _mm_unpacklo_epi8(first, last);
        const __m128i high = _mm_unpackhi_epi8(first, last);
        const __m128i pairs[4] = {_mm_unpacklo_epi8(low, zero), _mm_unpackhi_epi8(low, zero),
                                  _mm_unpacklo_epi8(high, zero), _mm_unpackhi_epi8(high, zero)};
        __m128i value[4];
        for (int i = 0; i < 4; ++i) {
            value[i] =
                scaled(withBetween(weighedPairs(pairs[i], weights), between[i], bias), factor);
        }
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(value[0], value[1]),
                                               _mm_packs_epi32(value[2], value[3]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + x), bytes);
    }
    return x;
}

}  // namespace ravinel

#endif
