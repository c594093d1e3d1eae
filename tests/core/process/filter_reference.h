#pragma once

#include <cstdint>
#include <optional>

#include "tests/core/process/picture.h"

namespace ravinel::testing {

// The filters written pixel by pixel from their definitions, with the rounding of every
// single-precision step done explicitly in double and rounded to float.

Picture referenceSharpen(const Picture& src);

// The normalised luminance of a pixel and its colour differences, before rounding.
struct NormalizedPixel {
    float yn = 0;
    int d[3] = {0, 0, 0};
};

// The levels lo and hi of a picture, found by counting the pixels at or below (above) each
// level; nothing when the picture comes out unchanged.
struct LuminanceRange {
    int lo = 0;
    int hi = 0;
};
std::optional<LuminanceRange> referenceRange(const Picture& src);
NormalizedPixel referenceNormalizedPixel(const Picture& src, int x, int y, LuminanceRange range);
uint8_t referencePlainChannel(float yn, int d);
uint8_t referencePackedChannel(float yn, int d);

enum class Arithmetic { plain, packed };
Picture referenceNormalize(const Picture& src, Arithmetic arithmetic);

Picture referenceConditionalAverage(const Picture& src, int threshold);

Picture referenceDither(const Picture& src);

}  // namespace ravinel::testing
