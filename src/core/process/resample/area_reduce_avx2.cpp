#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>

#include "process/resample/area_kernels.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

// The 4 bytes at a in the low half, those at b in the high half.
RAVINEL_AVX2 inline __m128i pixelPair(const uint8_t* a, const uint8_t* b) {
    return _mm_unpacklo_epi32(loadPixel(a), loadPixel(b));
}

// pmaddwd multiplies signed 16-bit values and a weight may be 32768: each weight goes in
// less one, and the pixels are added once more. Pairs (first, last) of a channel meet
// (firstWeight - 1, lastWeight - 1); a weight of 0 becomes -1 and cancels its pixel.
RAVINEL_AVX2 inline __m256i edgeWeights(const ReductionSpan& span) {
    const uint32_t first = (span.firstWeight - 1) & 0xFFFF;
    const uint32_t last = (span.lastWeight - 1) & 0xFFFF;
    return _mm256_set1_epi32(static_cast<int32_t>(first | last << 16));
}

RAVINEL_AVX2 inline __m256i weighedPairs(__m256i pairs, __m256i weights) {
    return _mm256_add_epi32(_mm256_madd_epi16(pairs, weights),
                            _mm256_madd_epi16(pairs, _mm256_set1_epi16(1)));
}

// The upper 32 bits of each 32-bit lane times factor (a 32-bit value in the even lanes).
RAVINEL_AVX2 inline __m256i scaled(__m256i total, __m256i factor) {
    const __m256i even = _mm256_srli_epi64(_mm256_mul_epu32(total, factor), 32);
    const __m256i odd = _mm256_mul_epu32(_mm256_srli_epi64(total, 32), factor);
    return _mm256_blend_epi32(even, odd, 0xAA);
}

RAVINEL_AVX2 inline __m256i withBetween(__m256i edges, __m256i between, __m256i bias) {
    return _mm256_add_epi32(_mm256_add_epi32(edges, _mm256_slli_epi32(between, 15)), bias);
}

}  // namespace

// Two rows at a time: a pixel's channels of the one row in the low lanes, of the other in
// the high lanes (the fourth lane of each holds the next pixel's first byte and is thrown
// away). An odd last row is paired with itself.
RAVINEL_AVX2 void reduceRowsHAvx2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                                  std::span<const ReductionSpan> spans,
                                  const ReductionScale& scale) {
    const __m256i bias = _mm256_set1_epi32(static_cast<int32_t>(scale.bias));
    const __m256i factor = _mm256_set1_epi32(static_cast<int32_t>(scale.factor));
    for (size_t y = 0; y < in.size(); y += 2) {
        const size_t other = std::min(y + 1, in.size() - 1);
        const uint8_t* src0 = in[y];
        const uint8_t* src1 = in[other];
        uint8_t* dst0 = out[y];
        uint8_t* dst1 = out[other];
        for (const ReductionSpan& span : spans) {
            __m256i between = _mm256_setzero_si256();
            for (int32_t x = span.first + 1; x < span.last; ++x) {
                between = _mm256_add_epi32(
                    between, _mm256_cvtepu8_epi32(pixelPair(src0 + 3 * x, src1 + 3 * x)));
            }
            const __m128i first = pixelPair(src0 + 3 * span.first, src1 + 3 * span.first);
            const __m128i last = pixelPair(src0 + 3 * span.last, src1 + 3 * span.last);
            const __m256i pairs = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(first, last));
            const __m256i total =
                withBetween(weighedPairs(pairs, edgeWeights(span)), between, bias);
            const __m256i value = scaled(total, factor);
            const __m256i words = _mm256_packs_epi32(value, value);
            const __m256i bytes = _mm256_packus_epi16(words, words);
            storePixel(dst1, _mm256_extracti128_si256(bytes, 1));
            storePixel(dst0, _mm256_castsi256_si128(bytes));
            dst0 += 3;
            dst1 += 3;
        }
    }
}

// Thirty-two columns at a time, their sums in registers. The rows strictly between are
// added in 16-bit lanes, 256 rows at most before they move to 32 bits. Unpacking and
// packing within 128-bit lanes keep the columns in order.
RAVINEL_AVX2 size_t reduceRowVAvx2(std::span<const uint8_t* const> in, uint8_t* dst,
                                   size_t rowBytes, const ReductionSpan& span,
                                   const ReductionScale& scale) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i bias = _mm256_set1_epi32(static_cast<int32_t>(scale.bias));
    const __m256i factor = _mm256_set1_epi32(static_cast<int32_t>(scale.factor));
    const __m256i weights = edgeWeights(span);
    const uint8_t* firstRow = in[static_cast<size_t>(span.first)];
    const uint8_t* lastRow = in[static_cast<size_t>(span.last)];
    size_t x = 0;
    for (; x + 32 <= rowBytes; x += 32) {
        __m256i between[4] = {zero, zero, zero, zero};
        for (int32_t y = span.first + 1; y < span.last;) {
            const int32_t end = std::min(span.last, y + 256);
            __m256i low = zero;
            __m256i high = zero;
            for (; y < end; ++y) {
                const __m256i row = _mm256_loadu_si256(
                    reinterpret_cast<const __m256i*>(in[static_cast<size_t>(y)] + x));
                low = _mm256_add_epi16(low, _mm256_unpacklo_epi8(row, zero));
                high = _mm256_add_epi16(high, _mm256_unpackhi_epi8(row, zero));
            }
            between[0] = _mm256_add_epi32(between[0], _mm256_unpacklo_epi16(low, zero));
            between[1] = _mm256_add_epi32(between[1], _mm256_unpackhi_epi16(low, zero));
            between[2] = _mm256_add_epi32(between[2], _mm256_unpacklo_epi16(high, zero));
            between[3] = _mm256_add_epi32(between[3], _mm256_unpackhi_epi16(high, zero));
        }
        const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(firstRow + x));
        const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lastRow + x));
        const __m256i low = _mm256_unpacklo_epi8(first, last);
        const __m256i high = _mm256_unpackhi_epi8(first, last);
        const __m256i pairs[4] = {_mm256_unpacklo_epi8(low, zero), _mm256_unpackhi_epi8(low, zero),
                                  _mm256_unpacklo_epi8(high, zero),
                                  _mm256_unpackhi_epi8(high, zero)};
        __m256i value[4];
        for (int i = 0; i < 4; ++i) {
            value[i] =
                scaled(withBetween(weighedPairs(pairs[i], weights), between[i], bias), factor);
        }
        const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(value[0], value[1]),
                                                  _mm256_packs_epi32(value[2], value[3]));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x), bytes);
    }
    return x;
}

}  // namespace ravinel

#endif
