#pragma once

#include <cstdint>

#include "common/screen_metrics.h"

class QWidget;

namespace ravinel {

// The part of the metrics that does not depend on a window: depth and scroll-bar sizes
// of the primary screen. The frame sizes stay zero until a shown window is measured.
ScreenMetrics cachedScreenMetrics();

// The cached metrics completed with the work area and depth of the screen that holds
// window (the primary screen when there is no window or it is on none).
ScreenMetrics readScreenMetrics(const QWidget* window, const ScreenMetrics& cached);

// A length in logical pixels as device pixels: scaled by the screen's pixel ratio,
// halves rounded up.
int32_t toDevicePixels(double logical, double devicePixelRatio);

}  // namespace ravinel
