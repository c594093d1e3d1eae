#include "dib/masked_pixels_kernels.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include "dib/bgr_packing.h"

namespace ravinel {
namespace {

__attribute__((target("avx2"))) __m256i spread(__m256i pixels, const ChannelSpread& channel) {
    __m256i v = _mm256_and_si256(pixels, _mm256_set1_epi32(static_cast<int>(channel.mask)));
    v = channel.shift >= 0 ? _mm256_srl_epi32(v, _mm_cvtsi32_si128(channel.shift))
                           : _mm256_sll_epi32(v, _mm_cvtsi32_si128(-channel.shift));
    const __m256i times255 = _mm256_sub_epi32(_mm256_slli_epi32(v, 8), v);
    const __m256 halfAdded = _mm256_add_ps(_mm256_cvtepi32_ps(times255), _mm256_set1_ps(0.5f));
    return _mm256_cvttps_epi32(_mm256_mul_ps(halfAdded, _mm256_set1_ps(channel.reciprocal)));
}

__attribute__((target("avx2"))) void storeEight(uint8_t* out, __m256i pixels,
                                                const std::array<ChannelSpread, 3>& channels) {
    const __m256i blue = spread(pixels, channels[0]);
    const __m256i green = spread(pixels, channels[1]);
    const __m256i red = spread(pixels, channels[2]);
    storeBgrAvx2(out, _mm256_or_si256(_mm256_or_si256(blue, _mm256_slli_epi32(green, 8)),
                                      _mm256_slli_epi32(red, 16)));
}

}  // namespace

__attribute__((target("avx2"))) size_t maskedToBgrAvx2(const uint8_t* in, size_t count,
                                                       size_t bytesPerPixel,
                                                       const std::array<ChannelSpread, 3>& channels,
                                                       uint8_t* out) {
    size_t x = 0;
    if (bytesPerPixel == 2) {
        for (; x + 18 <= count; x += 16) {
            const __m256i pixels = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 2 * x));
            storeEight(out + 3 * x, _mm256_cvtepu16_epi32(_mm256_castsi256_si128(pixels)),
                       channels);
            storeEight(out + 3 * x + 24, _mm256_cvtepu16_epi32(_mm256_extracti128_si256(pixels, 1)),
                       channels);
        }
    } else {
        for (; x + 10 <= count; x += 8) {
            storeEight(out + 3 * x,
                       _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + 4 * x)), channels);
        }
    }
    // GCC leaves the upper halves dirty on some returns, which slows the SSE code after.
    _mm256_zeroupper();
    return x;
}

}  // namespace ravinel

#endif
