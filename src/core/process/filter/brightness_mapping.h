#pragma once

#include <cstdint>

#include "process/saturate.h"

namespace ravinel {

// The per-pixel arithmetic of the brightness normalisation, shared by both variants.

inline int luminance(int b, int g, int r) {
    return (29 * b + 150 * g + 77 * r) >> 8;
}

// Each pixel keeps its colour difference from its luminance; the coefficient rows sum to 0,
// so grey stays grey. Division truncates toward zero.
struct ColourDifferences {
    int b = 0;
    int g = 0;
    int r = 0;
};

inline ColourDifferences colourDifferences(int b, int g, int r) {
    return {(222 * b - 147 * g - 75 * r) / 256, (-29 * b + 105 * g - 76 * r) / 256,
            (-29 * b - 151 * g + 180 * r) / 256};
}

// 255 / (hi - lo) in single precision.
inline float brightnessScale(int lo, int hi) {
    return 255.0f / static_cast<float>(hi - lo);
}

// (Y - lo) x s, rounded once to single precision.
inline float normalizedLuminance(int y, int lo, float scale) {
    return static_cast<float>(y - lo) * scale;
}

// The plain variant: Yn rounded half away from zero (exact in double), plus d, clamped.
inline uint8_t normalizedChannel(float yn, int d) {
    const double shifted = yn >= 0 ? static_cast<double>(yn) + 0.5 : static_cast<double>(yn) - 0.5;
    return clampByte(static_cast<int32_t>(shifted) + d);
}

// The packed single-precision variant: float(d) + Yn and then + 0.5 are two separate
// single-precision roundings; the sum is truncated toward zero and saturated to a
// signed word and then to a byte.
inline uint8_t normalizedChannel3DNow(float yn, int d) {
    const float sum = static_cast<float>(d) + yn;
    const float biased = sum + 0.5f;
    return clampByte(saturateInt16(static_cast<int32_t>(biased)));
}

}  // namespace ravinel
