#pragma once

#if defined(__x86_64__)

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "process/resample/area_reduction.h"

namespace ravinel {

// The vector kernels of the area passes, one file per level. Each gives exactly the
// bytes of the portable code for the part it does; where a kernel leaves pixels, the
// caller finishes them with the portable code.

// A pixel's 3 bytes and the byte after them in the low lane, as the kernels load and
// store pixels (SSE2, so the AVX2 kernels can inline them too).
inline __m128i loadPixel(const uint8_t* p) {
    int32_t value = 0;
    std::memcpy(&value, p, 4);
    return _mm_cvtsi32_si128(value);
}

inline void storePixel(uint8_t* p, __m128i bytes) {
    const int32_t value = _mm_cvtsi128_si32(bytes);
    std::memcpy(p, &value, 4);
}

// Fixed-point horizontal reduction of whole rows, destination pixels 0 to spans.size() -
// 1. Every span's last pixel is followed by another source pixel and every destination
// pixel by another one (the kernels read and write 4 bytes for a 3-byte pixel).
void reduceRowsHSse2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     std::span<const ReductionSpan> spans, const ReductionScale& scale);
void reduceRowsHAvx2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     std::span<const ReductionSpan> spans, const ReductionScale& scale);

// One destination row of the fixed-point vertical reduction, bytes 0 to the returned
// count (a multiple of the vector width).
size_t reduceRowVSse2(std::span<const uint8_t* const> in, uint8_t* dst, size_t rowBytes,
                      const ReductionSpan& span, const ReductionScale& scale);
size_t reduceRowVAvx2(std::span<const uint8_t* const> in, uint8_t* dst, size_t rowBytes,
                      const ReductionSpan& span, const ReductionScale& scale);

// One destination pixel of a horizontal enlargement:
// (a x frac + b x (32768 - frac) + 16384) >> 15 of source pixels a and b. frac is below
// 32768: a pixel that takes all of a has b = a and frac 0.
struct ExpansionTap {
    int32_t a = 0;
    int32_t b = 0;
    int32_t frac = 0;
};

// Horizontal enlargement of whole rows of sourceWidth pixels (at least 6), every
// destination pixel by its tap.
void expandRowsHSse2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     int32_t sourceWidth, std::span<const ExpansionTap> taps);
void expandRowsHAvx2(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                     int32_t sourceWidth, std::span<const ExpansionTap> taps);

// Destination pixels from begin on, one byte at a time: the end of a row that the
// kernels' wide loads and stores cannot reach.
inline void expandByTaps(const uint8_t* src, uint8_t* dst, std::span<const ExpansionTap> taps,
                         size_t begin) {
    for (size_t x = begin; x < taps.size(); ++x) {
        const ExpansionTap& tap = taps[x];
        const auto frac = static_cast<uint32_t>(tap.frac);
        const uint8_t* a = src + 3 * static_cast<size_t>(tap.a);
        const uint8_t* b = src + 3 * static_cast<size_t>(tap.b);
        for (size_t c = 0; c < 3; ++c) {
            dst[3 * x + c] =
                static_cast<uint8_t>((a[c] * frac + b[c] * (32768 - frac) + 16384) >> 15);
        }
    }
}

// One row of the vertical enlargement that mixes two source rows:
// (carried x frac + row x (32768 - frac) + 16384) >> 15 per byte, frac below 32768, bytes
// 0 to the returned count (a multiple of the vector width).
size_t blendRowsSse2(const uint8_t* carried, const uint8_t* row, uint8_t* dst, size_t rowBytes,
                     uint32_t frac);
size_t blendRowsAvx2(const uint8_t* carried, const uint8_t* row, uint8_t* dst, size_t rowBytes,
                     uint32_t frac);

}  // namespace ravinel

#endif
