#pragma once

#include <cstdint>

#include "process/pipeline/filter_set.h"

namespace ravinel {

// How a picture is reduced or enlarged. The settings file keeps these numbers; a number
// outside them resizes as stretch does.
enum class ResizeMethod : uint8_t { stretch = 0, halftone = 1, area = 2 };

// The colour depth of the display picture. The settings file keeps these numbers; a
// number outside them keeps full colour.
enum class ColorMode : uint8_t {
    full = 0,
    halftone8 = 1,
    palette8 = 2,
    palette4 = 3,
    halftone1 = 4
};

// The index of a mode in its menu and list, and the mode of an index.
template <typename Mode>
constexpr uint8_t modeIndex(Mode mode) {
    return static_cast<uint8_t>(mode);
}
template <typename Mode>
constexpr Mode modeOfIndex(uint8_t index) {
    return static_cast<Mode>(index);
}

// How the pipeline makes a display picture. Zero-initialised, as a new pipeline's are;
// the settings file holds the user's values.
struct GProcessSettings {
    ResizeMethod reductMode = ResizeMethod::stretch;
    ResizeMethod expandMode = ResizeMethod::stretch;
    ColorMode colorMode = ColorMode::full;
    FilterSet fltInReduct;  // filters when the picture is reduced
    FilterSet fltInExpand;  // filters when the picture is enlarged
    FilterSet fltInOgsize;  // filters at 1:1
    bool dither = false;    // 16-bit dithering of a full-colour result
    bool use3DNow = false;  // the 3DNow! variants of the filters
    friend bool operator==(const GProcessSettings&, const GProcessSettings&) = default;
};

}  // namespace ravinel
