#if defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "process/resample/area_kernels.h"

#define RAVINEL_AVX2 __attribute__((target("avx2")))

namespace ravinel {
namespace {

// Eight destination bytes at a time: a byte shuffle gathers their a and b bytes from 16
// source bytes starting at base. The 8 bytes span at most four destination pixels, which
// an enlargement takes from at most five neighbouring source pixels, so 16 bytes hold
// them all.
struct ChunkTable {
    std::vector<int32_t> base;
    std::vector<uint8_t> shuffle;  // 16 per chunk: the 8 a bytes, then the 8 b bytes
    std::vector<int16_t> frac;     // 8 per chunk
};

ChunkTable chunkTable(int32_t sourceWidth, std::span<const ExpansionTap> taps) {
    const size_t chunks = 3 * taps.size() / 8;
    const int32_t lastBase = 3 * sourceWidth - 16;
    ChunkTable table;
    table.base.resize(chunks);
    table.shuffle.resize(16 * chunks);
    table.frac.resize(8 * chunks);
    for (size_t k = 0; k < chunks; ++k) {
        int32_t lowest = std::numeric_limits<int32_t>::max();
        for (size_t j = 8 * k; j < 8 * k + 8; ++j) {
            lowest = std::min(lowest, 3 * taps[j / 3].a);
        }
        const int32_t base = std::min(lowest, lastBase);
        table.base[k] = base;
        for (size_t l = 0; l < 8; ++l) {
            const size_t j = 8 * k + l;
            const ExpansionTap& tap = taps[j / 3];
            const auto c = static_cast<int32_t>(j % 3);
            table.shuffle[16 * k + l] = static_cast<uint8_t>(3 * tap.a + c - base);
            table.shuffle[16 * k + 8 + l] = static_cast<uint8_t>(3 * tap.b + c - base);
            table.frac[8 * k + l] = static_cast<int16_t>(tap.frac);
        }
    }
    return table;
}

// b + ((a - b) x frac + 16384) >> 15, which is what pmulhrsw rounds to, is the mix
// (a x frac + b x (32768 - frac) + 16384) >> 15.
RAVINEL_AVX2 inline __m256i mixed(__m256i a, __m256i b, __m256i frac) {
    return _mm256_add_epi16(b, _mm256_mulhrs_epi16(_mm256_sub_epi16(a, b), frac));
}

// Chunks k and k + 1 as 16-bit values, in the low and the high lane.
RAVINEL_AVX2 inline __m256i chunkPair(const uint8_t* src, const ChunkTable& table, size_t k) {
    const __m256i source = _mm256_inserti128_si256(
        _mm256_castsi128_si256(
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + table.base[k]))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + table.base[k + 1])), 1);
    const __m256i gathered = _mm256_shuffle_epi8(
        source, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&table.shuffle[16 * k])));
    const __m256i zero = _mm256_setzero_si256();
    return mixed(_mm256_unpacklo_epi8(gathered, zero), _mm256_unpackhi_epi8(gathered, zero),
                 _mm256_loadu_si256(reinterpret_cast<const __m256i*>(&table.frac[8 * k])));
}

}  // namespace

RAVINEL_AVX2 void expandRowsHAvx2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                                  int32_t sourceWidth, std::span<const ExpansionTap> taps) {
    const ChunkTable table = chunkTable(sourceWidth, taps);
    const size_t chunks = table.base.size();
    for (size_t y = 0; y < in.size(); ++y) {
        const uint8_t* src = in[y];
        uint8_t* dst = out[y];
        size_t k = 0;
        for (; k + 4 <= chunks; k += 4) {
            // Lanes of the pack hold chunks (k, k + 2) and (k + 1, k + 3).
            const __m256i bytes =
                _mm256_packus_epi16(chunkPair(src, table, k), chunkPair(src, table, k + 2));
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 8 * k),
                                _mm256_permute4x64_epi64(bytes, 0xD8));
        }
        for (; k < chunks; ++k) {
            const __m128i source =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + table.base[k]));
            const __m128i gathered = _mm_shuffle_epi8(
                source, _mm_loadu_si128(reinterpret_cast<const __m128i*>(&table.shuffle[16 * k])));
            const __m128i zero = _mm_setzero_si128();
            const __m128i a = _mm_unpacklo_epi8(gathered, zero);
            const __m128i b = _mm_unpackhi_epi8(gathered, zero);
            const __m128i frac =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(&table.frac[8 * k]));
            const __m128i words = _mm_add_epi16(b, _mm_mulhrs_epi16(_mm_sub_epi16(a, b), frac));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 8 * k),
                             _mm_packus_epi16(words, words));
        }
        expandByTaps(src, dst, taps, 8 * chunks / 3);
    }
}

// Thirty-two bytes at a time, in 16-bit lanes.
RAVINEL_AVX2 size_t blendRowsAvx2(const uint8_t* carried, const uint8_t* row, uint8_t* dst,
                                  size_t rowBytes, uint32_t frac) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i weight = _mm256_set1_epi16(static_cast<int16_t>(frac));
    size_t x = 0;
    for (; x + 32 <= rowBytes; x += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(carried + x));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + x));
        const __m256i low =
            mixed(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), weight);
        const __m256i high =
            mixed(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), weight);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + x), _mm256_packus_epi16(low, high));
    }
    return x;
}

}  // namespace ravinel

#endif
