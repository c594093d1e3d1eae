#if defined(__x86_64__)

#include <emmintrin.h>

#include <array>

#include "process/filter/brightness_lane_weights.h"
#include "process/filter/brightness_rows.h"

namespace ravinel {
namespace {

constexpr int kLanes = 8;

using Weights = PhaseWeights<kLanes>;

// A group of eight pixels is three vectors, starting at bytes 0, 8 and 16 of the group:
// with a blue, a red and a green byte.
constexpr std::array<Weights, 3> kGroupWeights = {phaseWeights<kLanes>(0), phaseWeights<kLanes>(2),
                                                  phaseWeights<kLanes>(1)};

inline __m128i load(const std::array<int16_t, kLanes>& w) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.data()));
}

inline __m128i bytesAt(const uint8_t* p) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)),
                             _mm_setzero_si128());
}

// The sum over offsets first..last (indices into -2..2) of byte x weight, modulo 2^16.
inline __m128i weightedSum(const __m128i (&x)[kLaneOffsets], const LaneWeights<kLanes>& w,
                           int first, int last) {
    __m128i sum = _mm_mullo_epi16(x[first], load(w[static_cast<size_t>(first)]));
    for (int o = first + 1; o <= last; ++o) {
        sum = _mm_add_epi16(sum, _mm_mullo_epi16(x[o], load(w[static_cast<size_t>(o)])));
    }
    return sum;
}

// (256 high + low) / 256, truncated toward zero: the floored quotient, one up when it is
// negative and the division leaves a remainder.
inline __m128i colourDifference(__m128i high, __m128i low) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i floored = _mm_add_epi16(high, _mm_srai_epi16(low, 8));
    const __m128i exact = _mm_cmpeq_epi16(_mm_and_si128(low, _mm_set1_epi16(255)), zero);
    return _mm_sub_epi16(floored, _mm_andnot_si128(exact, _mm_cmpgt_epi16(zero, floored)));
}

inline __m128i widenLow(__m128i v) {
    return _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
}
inline __m128i widenHigh(__m128i v) {
    return _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
}

// yn rounded half away from zero, as normalizedChannel does it in double: the fraction
// yn - trunc(yn) is exact in single precision.
inline __m128i roundedAway(__m128 yn) {
    const __m128i truncated = _mm_cvttps_epi32(yn);
    const __m128 fraction = _mm_sub_ps(yn, _mm_cvtepi32_ps(truncated));
    const __m128i up = _mm_castps_si128(_mm_cmpge_ps(fraction, _mm_set1_ps(0.5f)));
    const __m128i down = _mm_castps_si128(_mm_cmple_ps(fraction, _mm_set1_ps(-0.5f)));
    return _mm_add_epi32(_mm_sub_epi32(truncated, up), down);
}

// A channel before saturation, from the level Y - lo and d.
template <ChannelRounding kRounding>
inline __m128i mappedChannel(__m128i level, __m128i d, __m128 scale) {
    const __m128 yn = _mm_mul_ps(_mm_cvtepi32_ps(level), scale);
    if constexpr (kRounding == ChannelRounding::plain) {
        return _mm_add_epi32(roundedAway(yn), d);
    } else {
        const __m128 sum = _mm_add_ps(_mm_cvtepi32_ps(d), yn);
        return _mm_cvttps_epi32(_mm_add_ps(sum, _mm_set1_ps(0.5f)));
    }
}

// Eight mapped bytes as signed words; both roundings saturate to a word and then a byte.
template <ChannelRounding kRounding>
inline __m128i mappedWords(const uint8_t* p, const Weights& w, __m128i lo, __m128 scale) {
    __m128i x[kLaneOffsets];
    for (int o = 0; o < kLaneOffsets; ++o) {
        x[o] = bytesAt(p + o - 2);
    }
    const __m128i level = _mm_sub_epi16(_mm_srli_epi16(weightedSum(x, w.luminance, 0, 4), 8), lo);
    const __m128i d = colourDifference(weightedSum(x, w.high, 1, 3), weightedSum(x, w.low, 0, 4));
    return _mm_packs_epi32(mappedChannel<kRounding>(widenLow(level), widenLow(d), scale),
                           mappedChannel<kRounding>(widenHigh(level), widenHigh(d), scale));
}

template <ChannelRounding kRounding>
int normalizeGroups(const uint8_t* src, uint8_t* dst, int pixelCount,
                    const BrightnessRange& range) {
    const __m128i lo = _mm_set1_epi16(static_cast<int16_t>(range.lo));
    const __m128 scale = _mm_set1_ps(range.scale);
    int x = 0;
    // A group reads from 2 bytes before it to 25 bytes into it.
    for (; x + 9 <= pixelCount; x += 8) {
        const uint8_t* p = src + 3 * static_cast<size_t>(x);
        uint8_t* q = dst + 3 * static_cast<size_t>(x);
        const __m128i first = mappedWords<kRounding>(p, kGroupWeights[0], lo, scale);
        const __m128i second = mappedWords<kRounding>(p + 8, kGroupWeights[1], lo, scale);
        const __m128i third = mappedWords<kRounding>(p + 16, kGroupWeights[2], lo, scale);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q), _mm_packus_epi16(first, second));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(q + 16), _mm_packus_epi16(third, third));
    }
    return x;
}

// 29 b + 150 g + 77 r >> 8 for each byte and the two after it; right at blue bytes.
inline __m128i luminanceWords(const uint8_t* p) {
    const __m128i sum =
        _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(bytesAt(p), _mm_set1_epi16(29)),
                                    _mm_mullo_epi16(bytesAt(p + 1), _mm_set1_epi16(150))),
                      _mm_mullo_epi16(bytesAt(p + 2), _mm_set1_epi16(77)));
    return _mm_srli_epi16(sum, 8);
}

}  // namespace

int luminancesSse2(const uint8_t* src, int pixelCount, uint8_t* y) {
    int x = 0;
    // A group reads 25 bytes into it.
    for (; x + 9 <= pixelCount; x += 8) {
        const uint8_t* p = src + 3 * static_cast<size_t>(x);
        alignas(16) uint8_t lanes[32];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes),
                        _mm_packus_epi16(luminanceWords(p), luminanceWords(p + 8)));
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes + 16),
                        _mm_packus_epi16(luminanceWords(p + 16), _mm_setzero_si128()));
        for (int i = 0; i < 8; ++i) {
            y[x + i] = lanes[3 * i];
        }
    }
    return x;
}

int normalizePixelsSse2(const uint8_t* src, uint8_t* dst, int pixelCount,
                        const BrightnessRange& range, ChannelRounding rounding) {
    return rounding == ChannelRounding::plain
               ? normalizeGroups<ChannelRounding::plain>(src, dst, pixelCount, range)
               : normalizeGroups<ChannelRounding::packed>(src, dst, pixelCount, range);
}

}  // namespace ravinel

#endif
