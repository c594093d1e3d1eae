#pragma once

// Packing of pixels held as 32-bit words 0x00RRGGBB into the 3-byte pixels of a 24-bit
// row, for the vector paths. Each store writes four bytes past the pixels it packs.

#if defined(__x86_64__)
#include <immintrin.h>

#include <cstdint>

namespace ravinel {

// Four words to 12 bytes at out, zeros after them.
inline void storeBgrSse2(uint8_t* out, __m128i words) {
    const __m128i low = _mm_set_epi32(0, 0xFFFFFF, 0, 0xFFFFFF);
    const __m128i high =
        _mm_set_epi32(0xFFFF, static_cast<int>(0xFF000000), 0xFFFF, static_cast<int>(0xFF000000));
    // Each 64-bit half holds two pixels in its low six bytes...
    const __m128i halves =
        _mm_or_si128(_mm_and_si128(words, low), _mm_and_si128(_mm_srli_epi64(words, 8), high));
    // ...and the upper half moves down next to the lower one.
    const __m128i upper = _mm_slli_si128(_mm_unpackhi_epi64(halves, _mm_setzero_si128()), 6);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_move_epi64(halves), upper));
}

// Eight words to 24 bytes at out. Only for functions compiled for AVX2.
__attribute__((target("avx2"))) inline void storeBgrAvx2(uint8_t* out, __m256i words) {
    const __m256i pattern =
        _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6,
                         8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m256i packed = _mm256_shuffle_epi8(words, pattern);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(packed));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), _mm256_extracti128_si256(packed, 1));
}

}  // namespace ravinel

#endif
