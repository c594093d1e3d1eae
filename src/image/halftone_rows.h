#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "image/nk_internal_dib.h"

namespace ravinel {

// The levels of the 8-bit halftone's channels, and the highest wanted value that still
// takes each level but the top one.
inline constexpr std::array<int, 6> kHalftoneRedLevels{0, 51, 102, 153, 204, 255};
inline constexpr std::array<int, 7> kHalftoneGreenLevels{0, 43, 85, 128, 171, 214, 255};
inline constexpr std::array<int, 5> kHalftoneBlueLevels{0, 64, 128, 192, 255};
inline constexpr std::array<int, 5> kHalftoneRedUpper{29, 80, 131, 182, 234};
inline constexpr std::array<int, 6> kHalftoneGreenUpper{25, 67, 110, 153, 196, 237};
inline constexpr std::array<int, 4> kHalftoneBlueUpper{35, 99, 163, 227};

// A source pixel as the diffusion takes it: red, green, blue and a zero.
using HalftoneColor = std::array<int32_t, 4>;

// The colours of a 1, 4, 8 or 24-bit storage row (an index counts as its palette colour).
void readHalftoneRow(const NkInternalDib& source, int32_t row, std::vector<HalftoneColor>& colors);

#if defined(__x86_64__)
// The diffusions on the SSE2 path, the three channels of a pixel in one register: the
// error of each pixel waits for the one before, so a wider register has nothing to hold.
// dest is the blank store the portable conversion fills.
void diffuseHalfToneSse2(const NkInternalDib& source, NkInternalDib& dest);
void diffuseHalfToneBwSse2(const NkInternalDib& source, NkInternalDib& dest);
#endif

}  // namespace ravinel
