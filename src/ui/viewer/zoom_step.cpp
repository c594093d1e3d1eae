#include "viewer/zoom_step.h"

#include <cmath>

namespace ravinel {

namespace {

// Close to the fourth root of two and its inverse: four steps double or halve the size.
constexpr long double kZoomInFactor = 1.1892L;
constexpr long double kZoomOutFactor = 0.841L;

// Below this many pixels on a side a rate step could change nothing, so the step goes by
// one pixel on the short side instead.
constexpr int32_t kSmallSide = 4;

int32_t nearest(long double x) {
    return static_cast<int32_t>(std::floor(x + 0.5L));
}

// The rate the picture is shown at, measured on its longer shown side.
ZoomStep rateStep(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                  int32_t sourceHeight, long double factor) {
    const long double r = shownWidth > shownHeight
                              ? static_cast<long double>(shownWidth) / sourceWidth
                              : static_cast<long double>(shownHeight) / sourceHeight;
    return {ZoomStep::Kind::rate, static_cast<double>(r * factor), 0};
}

ZoomStep longSideStep(long double longSide) {
    return {ZoomStep::Kind::longSide, 0, nearest(longSide)};
}

// Sizes that cannot be measured (no picture loaded) give no step.
bool measurable(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                int32_t sourceHeight) {
    return shownWidth >= 1 && shownHeight >= 1 && sourceWidth >= 1 && sourceHeight >= 1;
}

}  // namespace

ZoomStep zoomInStep(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                    int32_t sourceHeight) {
    if (!measurable(shownWidth, shownHeight, sourceWidth, sourceHeight)) {
        return {};
    }
    if (shownWidth > kSmallSide && shownHeight > kSmallSide) {
        return rateStep(shownWidth, shownHeight, sourceWidth, sourceHeight, kZoomInFactor);
    }
    const long double dw = shownWidth;
    const long double dh = shownHeight;
    return shownWidth < shownHeight ? longSideStep((dw + 1) * dh / dw)
                                    : longSideStep((dh + 1) * dw / dh);
}

ZoomStep zoomOutStep(int32_t shownWidth, int32_t shownHeight, int32_t sourceWidth,
                     int32_t sourceHeight) {
    if (!measurable(shownWidth, shownHeight, sourceWidth, sourceHeight) || shownWidth <= 1 ||
        shownHeight <= 1) {
        return {};
    }
    if (shownWidth > kSmallSide && shownHeight > kSmallSide) {
        return rateStep(shownWidth, shownHeight, sourceWidth, sourceHeight, kZoomOutFactor);
    }
    const long double dw = shownWidth;
    const long double dh = shownHeight;
    return shownHeight > shownWidth ? longSideStep((dw - 1) * dh / dw)
                                    : longSideStep((dh - 1) * dw / dh);
}

}  // namespace ravinel
