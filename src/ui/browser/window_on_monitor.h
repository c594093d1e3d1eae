#pragma once

#include <QRect>

namespace ravinel {

// A stored window rectangle brought back onto its monitor: a window whose left edge
// lies at or beyond the monitor's right edge moves to left 0, one whose top lies at or
// below the monitor's bottom edge to top 0; the size stays.
QRect keptOnMonitor(const QRect& window, const QRect& monitor);

// The geometry of the screen nearest to rect (the one holding most of it, else the one
// closest to it); the primary screen's when there is none.
QRect nearestScreenGeometry(const QRect& rect);

}  // namespace ravinel
