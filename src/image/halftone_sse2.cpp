#include "image/halftone_rows.h"

#if defined(__x86_64__)
#include <emmintrin.h>

#include <climits>
#include <utility>
#include <vector>

namespace ravinel {
namespace {

__m128i load(const HalftoneColor& color) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(color.data()));
}

__m128i times12(__m128i v) {
    return _mm_add_epi32(_mm_slli_epi32(v, 3), _mm_slli_epi32(v, 2));
}

__m128i times5(__m128i v) {
    return _mm_add_epi32(_mm_slli_epi32(v, 2), v);
}

// Rounds toward zero, as integer division does.
__m128i dividedBy32(__m128i v) {
    const __m128i bias = _mm_and_si128(_mm_srai_epi32(v, 31), _mm_set1_epi32(31));
    return _mm_srai_epi32(_mm_add_epi32(v, bias), 5);
}

// The portable diffusion step for step, the channels in the lanes of one register. The
// errors stay within a few thousand (a chosen value is 0 to 255 and at most 29/32 of
// the errors around come back), so 32-bit lanes hold them and the 16-bit rows of the
// portable code never cut them.
template <typename Place>
void diffuse(const NkInternalDib& source, NkInternalDib& dest, Place place) {
    const auto width = static_cast<size_t>(source.width);
    // The picture's pixel x sits at entry x + 1; the end entries stay zero.
    std::vector<HalftoneColor> previous(width + 2);
    std::vector<HalftoneColor> current(width + 2);
    std::vector<HalftoneColor> colors(width);
    const size_t toStride = dest.stride();
    for (int32_t row = 0; row < source.height; ++row) {
        std::swap(previous, current);
        readHalftoneRow(source, row, colors);
        uint8_t* out = dest.pixels.data() + static_cast<size_t>(row) * toStride;
        const bool leftToRight = row % 2 == 0;
        __m128i running = _mm_setzero_si128();
        for (size_t step = 0; step < width; ++step) {
            const size_t x = leftToRight ? step : width - 1 - step;
            const size_t behind = leftToRight ? x : x + 2;
            const __m128i known =
                _mm_add_epi32(times12(load(previous[x + 1])), times5(load(previous[behind])));
            const __m128i error = dividedBy32(_mm_add_epi32(known, times12(running)));
            const __m128i wanted = _mm_sub_epi32(load(colors[x]), error);
            running = _mm_sub_epi32(place(out, x, wanted), wanted);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(current[x + 1].data()), running);
        }
    }
}

// Per threshold, the wanted values above which each channel takes its next level, and
// how much that level adds; the lanes run out of thresholds at different counts.
struct Quantiser {
    static constexpr size_t kSteps = kHalftoneGreenUpper.size();

    Quantiser() {
        for (size_t k = 0; k < kSteps; ++k) {
            const auto lane = [k](const auto& upper, const auto& levels, bool step) {
                if (k >= upper.size()) {
                    return step ? 0 : INT32_MAX;
                }
                return step ? levels[k + 1] - levels[k] : upper[k];
            };
            above[k] =
                _mm_setr_epi32(lane(kHalftoneRedUpper, kHalftoneRedLevels, false),
                               lane(kHalftoneGreenUpper, kHalftoneGreenLevels, false),
                               lane(kHalftoneBlueUpper, kHalftoneBlueLevels, false), INT32_MAX);
            rise[k] = _mm_setr_epi32(lane(kHalftoneRedUpper, kHalftoneRedLevels, true),
                                     lane(kHalftoneGreenUpper, kHalftoneGreenLevels, true),
                                     lane(kHalftoneBlueUpper, kHalftoneBlueLevels, true), 0);
        }
    }

    __m128i above[kSteps];
    __m128i rise[kSteps];
};

}  // namespace

void diffuseHalfToneSse2(const NkInternalDib& source, NkInternalDib& dest) {
    const Quantiser quantiser;
    diffuse(source, dest, [&quantiser](uint8_t* out, size_t x, __m128i wanted) {
        __m128i chosen = _mm_setzero_si128();
        __m128i levels = _mm_setzero_si128();
        for (size_t k = 0; k < Quantiser::kSteps; ++k) {
            const __m128i above = _mm_cmpgt_epi32(wanted, quantiser.above[k]);
            chosen = _mm_add_epi32(chosen, _mm_and_si128(above, quantiser.rise[k]));
            levels = _mm_sub_epi32(levels, above);
        }
        alignas(16) int32_t level[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(level), levels);
        out[x] = static_cast<uint8_t>(level[0] * 35 + level[1] * 5 + level[2]);
        return chosen;
    });
}

void diffuseHalfToneBwSse2(const NkInternalDib& source, NkInternalDib& dest) {
    diffuse(source, dest, [](uint8_t* out, size_t x, __m128i wanted) {
        // Every colour lane gets the sum of the three; the zero lane stays 0.
        const __m128i sum =
            _mm_add_epi32(_mm_add_epi32(wanted, _mm_shuffle_epi32(wanted, _MM_SHUFFLE(3, 0, 2, 1))),
                          _mm_shuffle_epi32(wanted, _MM_SHUFFLE(3, 1, 0, 2)));
        const __m128i white = _mm_cmpgt_epi32(sum, _mm_set1_epi32(383));
        const auto bit = static_cast<unsigned>(_mm_cvtsi128_si32(white)) & 0x80u;
        out[x / 8] = static_cast<uint8_t>(out[x / 8] | bit >> (x % 8));
        return _mm_and_si128(white, _mm_set1_epi32(255));
    });
}

}  // namespace ravinel

#endif
