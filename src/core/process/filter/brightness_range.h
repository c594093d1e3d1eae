#pragma once

#include <optional>

#include "dib/nk_dib.h"
#include "process/filter/image_filters.h"

namespace ravinel {

struct BrightnessRange {
    int lo = 0;
    float scale = 0;  // 255 / (hi - lo) in single precision
};

// The part both normalisation variants share: sizes dest, counts the luminance histogram
// of source (24-bit) and finds the levels lo and hi that leave out the darkest and the
// brightest 1/256 of the pixels. Returns nothing, with dest a copy of source, when there
// is nothing to stretch (fewer than 256 pixels, or lo = hi); else the range, after the
// stage text of the mapping pass.
std::optional<BrightnessRange> prepareNormalization(NkDib& dest, const NkDib& source,
                                                    const ProgressStageEvent& progress);

}  // namespace ravinel
