#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dib/nk_dib.h"
#include "process/filter/process_stage.h"

namespace ravinel {

// The filters read src as a 24-bit picture (other formats are widened on a copy first),
// leave it unchanged, and write a 24-bit result of the same size into dest. dest and src
// may be the same object.

// 3 x 3 sharpening with the kernel -1 -2 -1 / -2 28 -2 / -1 -2 -1 (sum 16), edges repeated.
void sharpen(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress = {});

// Stretches the luminance range, without the darkest and brightest 1/256 of the pixels,
// to 0..255 and keeps each pixel's colour difference. Pictures of fewer than 256 pixels
// or of a single luminance level come out unchanged.
void normalizeBrightness(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress = {});

// Each pixel becomes the mean of itself and those of its eight neighbours that differ
// from it by at most threshold in every channel.
void conditionalAverage(NkDib& dest, const NkDib& src, uint8_t threshold,
                        const ProgressStageEvent& progress = {});

// Error diffusion in place onto the levels of a 5-6-5 display: afterwards every blue and
// red value is a multiple of 8 and every green value a multiple of 4. The picture is
// 24-bit afterwards.
void ditherTo16Bit(NkDib& pic);

// The twins of the packed single-precision code path, selected by the pipeline's
// Use3DNow setting. normalizeBrightness3DNow rounds float(d) + Yn + 0.5 in two
// single-precision steps and so can differ from normalizeBrightness by one level;
// conditionalAverage3DNow gives the same pixels as conditionalAverage.
void normalizeBrightness3DNow(NkDib& dest, const NkDib& src,
                              const ProgressStageEvent& progress = {});
void conditionalAverage3DNow(NkDib& dest, const NkDib& src, uint8_t threshold,
                             const ProgressStageEvent& progress = {});

}  // namespace ravinel
