#include "dib/masked_pixels_kernels.h"

#if defined(__x86_64__)
#include <emmintrin.h>

#include "dib/bgr_packing.h"

namespace ravinel {
namespace {

__m128i spread(__m128i pixels, const ChannelSpread& channel) {
    __m128i v = _mm_and_si128(pixels, _mm_set1_epi32(static_cast<int>(channel.mask)));
    v = channel.shift >= 0 ? _mm_srl_epi32(v, _mm_cvtsi32_si128(channel.shift))
                           : _mm_sll_epi32(v, _mm_cvtsi32_si128(-channel.shift));
    const __m128i times255 = _mm_sub_epi32(_mm_slli_epi32(v, 8), v);
    const __m128 halfAdded = _mm_add_ps(_mm_cvtepi32_ps(times255), _mm_set1_ps(0.5f));
    return _mm_cvttps_epi32(_mm_mul_ps(halfAdded, _mm_set1_ps(channel.reciprocal)));
}

void storeFour(uint8_t* out, __m128i pixels, const std::array<ChannelSpread, 3>& channels) {
    const __m128i blue = spread(pixels, channels[0]);
    const __m128i green = spread(pixels, channels[1]);
    const __m128i red = spread(pixels, channels[2]);
    storeBgrSse2(
        out, _mm_or_si128(_mm_or_si128(blue, _mm_slli_epi32(green, 8)), _mm_slli_epi32(red, 16)));
}

}  // namespace

size_t maskedToBgrSse2(const uint8_t* in, size_t count, size_t bytesPerPixel,
                       const std::array<ChannelSpread, 3>& channels, uint8_t* out) {
    size_t x = 0;
    if (bytesPerPixel == 2) {
        const __m128i zero = _mm_setzero_si128();
        for (; x + 10 <= count; x += 8) {
            const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 2 * x));
            storeFour(out + 3 * x, _mm_unpacklo_epi16(pixels, zero), channels);
            storeFour(out + 3 * x + 12, _mm_unpackhi_epi16(pixels, zero), channels);
        }
    } else {
        for (; x + 6 <= count; x += 4) {
            storeFour(out + 3 * x, _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * x)),
                      channels);
        }
    }
    return x;
}

}  // namespace ravinel

#endif
