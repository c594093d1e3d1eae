#pragma once

#include <cstdint>

#include "process/filter/brightness_range.h"

namespace ravinel {

// How a normalised channel is rounded: normalizedChannel or normalizedChannel3DNow.
enum class ChannelRounding { plain, packed };

#if defined(__x86_64__)
// The luminance of the leading pixels of a row of pixelCount pixels, one byte each into y,
// in whole vectors; returns how many pixels were done.
int luminancesSse2(const uint8_t* src, int pixelCount, uint8_t* y);
int luminancesAvx2(const uint8_t* src, int pixelCount, uint8_t* y);

// Normalises the leading pixels of the pixelCount pixels at src into dst in whole vectors;
// returns how many were done. Reads the pixel before src too.
int normalizePixelsSse2(const uint8_t* src, uint8_t* dst, int pixelCount,
                        const BrightnessRange& range, ChannelRounding rounding);
int normalizePixelsAvx2(const uint8_t* src, uint8_t* dst, int pixelCount,
                        const BrightnessRange& range, ChannelRounding rounding);
#endif

}  // namespace ravinel
