#pragma once

#include <cstdint>

namespace ravinel {

// One zoom step of the image window: a one-off rate, a one-off long side, or nothing.
struct ZoomStep {
    enum class Kind { none, rate, longSide };
    Kind kind = Kind::none;
    double rate = 0;       // for Kind::rate
    int32_t longSide = 0;  // for Kind::longSide
};

// The step that enlarges a picture of sourceWidth x sourceHeight shown at
// shownWidth x shownHeight by about the fourth root of two.
ZoomStep zoomInStep(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                    int32_t sourceHeight);
// The step that reduces it by about the same factor; none below two pixels.
ZoomStep zoomOutStep(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                     int32_t sourceHeight);

}  // namespace ravinel
