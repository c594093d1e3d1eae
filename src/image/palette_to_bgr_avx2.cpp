#include "image/palette_to_bgr.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include "image/bgr_packing.h"

namespace ravinel {

__attribute__((target("avx2"))) size_t paletteRow8ToBgrAvx2(const uint8_t* in, size_t count,
                                                            const PaletteWords& words,
                                                            uint8_t* out) {
    const auto* table = reinterpret_cast<const int*>(words.data());
    size_t x = 0;
    for (; x + 10 <= count; x += 8) {
        const __m128i indices = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x));
        storeBgrAvx2(out + 3 * x, _mm256_i32gather_epi32(table, _mm256_cvtepu8_epi32(indices), 4));
    }
    // GCC leaves the upper halves dirty on some returns, which slows the SSE code after.
    _mm256_zeroupper();
    return x;
}

}  // namespace ravinel

#endif
