#pragma once

#include <array>
#include <cstdint>

namespace ravinel {

// The rows above, at and below a picture row in the bordered copy.
using RowWindow = std::array<const uint8_t*, 3>;

#if defined(__x86_64__)
// The conditional average of the leading pixels of a row of width pixels into dst, in
// whole vectors; returns how many pixels were done. Both arithmetic variants give these
// pixels: the sums are whole, the reciprocals correctly rounded and the means 0..255.
int averagePixelsSse2(const RowWindow& window, uint8_t* dst, int width, uint8_t threshold);
int averagePixelsAvx2(const RowWindow& window, uint8_t* dst, int width, uint8_t threshold);
#endif

}  // namespace ravinel
