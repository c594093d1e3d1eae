#pragma once

#include <cstdint>

#include "process/filter_set.h"

namespace ravinel {

// How the pipeline makes a display picture. Zero-initialised, as a new pipeline's are;
// the settings file holds the user's values.
struct GProcessSettings {
    uint8_t reductMode = 0;  // 0 stretch, 1 halftone stretch, 2 area average
    uint8_t expandMode = 0;  // 0 stretch, 1 halftone stretch, 2 area enlargement
    uint8_t colorMode = 0;   // 0 "24", 1 "HalfTone8", 2 "8", 3 "4", 4 "HalfTone1"
    FilterSet fltInReduct;   // filters when the picture is reduced
    FilterSet fltInExpand;   // filters when the picture is enlarged
    FilterSet fltInOgsize;   // filters at 1:1
    bool dither = false;     // 16-bit dithering of a full-colour result
    bool use3DNow = false;   // the 3DNow! variants of the filters
    friend bool operator==(const GProcessSettings&, const GProcessSettings&) = default;
};

}  // namespace ravinel
