#if defined(__x86_64__)

#include <immintrin.h>

#include <array>

#include "process/filter/brightness_lane_weights.h"
#include "process/filter/brightness_rows.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

constexpr int kLanes = 16;

using Weights = PhaseWeights<kLanes>;

// A group of sixteen pixels is three vectors, starting at bytes 0, 16 and 32 of the
// group: with a blue, a green and a red byte.
constexpr std::array<Weights, 3> kGroupWeights = {phaseWeights<kLanes>(0), phaseWeights<kLanes>(1),
                                                  phaseWeights<kLanes>(2)};

RAVINEL_AVX2 inline __m256i load(const std::array<int16_t, kLanes>& w) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w.data()));
}

RAVINEL_AVX2 inline __m256i bytesAt(const uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// The sum over offsets first..last (indices into -2..2) of byte x weight, modulo 2^16.
RAVINEL_AVX2 inline __m256i weightedSum(const __m256i (&x)[kLaneOffsets],
                                        const LaneWeights<kLanes>& w, int first, int last) {
    __m256i sum = _mm256_mullo_epi16(x[first], load(w[static_cast<size_t>(first)]));
    for (int o = first + 1; o <= last; ++o) {
        sum = _mm256_add_epi16(sum, _mm256_mullo_epi16(x[o], load(w[static_cast<size_t>(o)])));
    }
    return sum;
}

// (256 high + low) / 256, truncated toward zero: the floored quotient, one up when it is
// negative and the division leaves a remainder.
RAVINEL_AVX2 inline __m256i colourDifference(__m256i high, __m256i low) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i floored = _mm256_add_epi16(high, _mm256_srai_epi16(low, 8));
    const __m256i exact = _mm256_cmpeq_epi16(_mm256_and_si256(low, _mm256_set1_epi16(255)), zero);
    return _mm256_sub_epi16(floored, _mm256_andnot_si256(exact, _mm256_cmpgt_epi16(zero, floored)));
}

// Within each 128-bit half, as the packing back expects.
RAVINEL_AVX2 inline __m256i widenLow(__m256i v) {
    return _mm256_srai_epi32(_mm256_unpacklo_epi16(v, v), 16);
}
RAVINEL_AVX2 inline __m256i widenHigh(__m256i v) {
    return _mm256_srai_epi32(_mm256_unpackhi_epi16(v, v), 16);
}

// yn rounded half away from zero, as normalizedChannel does it in double: the fraction
// yn - trunc(yn) is exact in single precision.
RAVINEL_AVX2 inline __m256i roundedAway(__m256 yn) {
    const __m256i truncated = _mm256_cvttps_epi32(yn);
    const __m256 fraction = _mm256_sub_ps(yn, _mm256_cvtepi32_ps(truncated));
    const __m256i up =
        _mm256_castps_si256(_mm256_cmp_ps(fraction, _mm256_set1_ps(0.5f), _CMP_GE_OQ));
    const __m256i down =
        _mm256_castps_si256(_mm256_cmp_ps(fraction, _mm256_set1_ps(-0.5f), _CMP_LE_OQ));
    return _mm256_add_epi32(_mm256_sub_epi32(truncated, up), down);
}

// A channel before saturation, from the level Y - lo and d.
template <ChannelRounding kRounding>
RAVINEL_AVX2 inline __m256i mappedChannel(__m256i level, __m256i d, __m256 scale) {
    const __m256 yn = _mm256_mul_ps(_mm256_cvtepi32_ps(level), scale);
    if constexpr (kRounding == ChannelRounding::plain) {
        return _mm256_add_epi32(roundedAway(yn), d);
    } else {
        const __m256 sum = _mm256_add_ps(_mm256_cvtepi32_ps(d), yn);
        return _mm256_cvttps_epi32(_mm256_add_ps(sum, _mm256_set1_ps(0.5f)));
    }
}

// Sixteen mapped bytes as signed words; both roundings saturate to a word and then a byte.
template <ChannelRounding kRounding>
RAVINEL_AVX2 inline __m256i mappedWords(const uint8_t* p, const Weights& w, __m256i lo,
                                        __m256 scale) {
    __m256i x[kLaneOffsets];
    for (int o = 0; o < kLaneOffsets; ++o) {
        x[o] = bytesAt(p + o - 2);
    }
    const __m256i level =
        _mm256_sub_epi16(_mm256_srli_epi16(weightedSum(x, w.luminance, 0, 4), 8), lo);
    const __m256i d = colourDifference(weightedSum(x, w.high, 1, 3), weightedSum(x, w.low, 0, 4));
    return _mm256_packs_epi32(mappedChannel<kRounding>(widenLow(level), widenLow(d), scale),
                              mappedChannel<kRounding>(widenHigh(level), widenHigh(d), scale));
}

// The bytes of two word vectors in order (packing works within 128-bit halves).
RAVINEL_AVX2 inline __m256i packedBytes(__m256i first, __m256i second) {
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(first, second), 0xD8);
}

template <ChannelRounding kRounding>
RAVINEL_AVX2 int normalizeGroups(const uint8_t* src, uint8_t* dst, int pixelCount,
                                 const BrightnessRange& range) {
    const __m256i lo = _mm256_set1_epi16(static_cast<int16_t>(range.lo));
    const __m256 scale = _mm256_set1_ps(range.scale);
    int x = 0;
    // A group reads from 2 bytes before it to 49 bytes into it.
    for (; x + 17 <= pixelCount; x += 16) {
        const uint8_t* p = src + 3 * static_cast<size_t>(x);
        uint8_t* q = dst + 3 * static_cast<size_t>(x);
        const __m256i first = mappedWords<kRounding>(p, kGroupWeights[0], lo, scale);
        const __m256i second = mappedWords<kRounding>(p + 16, kGroupWeights[1], lo, scale);
        const __m256i third = mappedWords<kRounding>(p + 32, kGroupWeights[2], lo, scale);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(q), packedBytes(first, second));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 32),
                         _mm256_castsi256_si128(packedBytes(third, third)));
    }
    return x;
}

// 29 b + 150 g + 77 r >> 8 for each byte and the two after it; right at blue bytes.
RAVINEL_AVX2 inline __m256i luminanceWords(const uint8_t* p) {
    const __m256i sum = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(bytesAt(p), _mm256_set1_epi16(29)),
                         _mm256_mullo_epi16(bytesAt(p + 1), _mm256_set1_epi16(150))),
        _mm256_mullo_epi16(bytesAt(p + 2), _mm256_set1_epi16(77)));
    return _mm256_srli_epi16(sum, 8);
}

}  // namespace

RAVINEL_AVX2 int luminancesAvx2(const uint8_t* src, int pixelCount, uint8_t* y) {
    int x = 0;
    // A group reads 49 bytes into it.
    for (; x + 17 <= pixelCount; x += 16) {
        const uint8_t* p = src + 3 * static_cast<size_t>(x);
        alignas(32) uint8_t lanes[64];
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes),
                           packedBytes(luminanceWords(p), luminanceWords(p + 16)));
        _mm256_store_si256(reinterpret_cast<__m256i*>(lanes + 32),
                           packedBytes(luminanceWords(p + 32), _mm256_setzero_si256()));
        for (int i = 0; i < 16; ++i) {
            y[x + i] = lanes[3 * i];
        }
    }
    return x;
}

RAVINEL_AVX2 int normalizePixelsAvx2(const uint8_t* src, uint8_t* dst, int pixelCount,
                                     const BrightnessRange& range, ChannelRounding rounding) {
    return rounding == ChannelRounding::plain
               ? normalizeGroups<ChannelRounding::plain>(src, dst, pixelCount, range)
               : normalizeGroups<ChannelRounding::packed>(src, dst, pixelCount, range);
}

}  // namespace ravinel

#undef RAVINEL_AVX2

#endif
