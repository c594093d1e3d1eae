#pragma once

#include <QRect>

class QScreen;

namespace ravinel {

// A stored window rectangle brought back onto its monitor: a window whose left edge
// lies at or beyond the monitor's right edge moves to left 0, one whose top lies at or
// below the monitor's bottom edge to top 0; the size stays.
QRect keptOnMonitor(const QRect& window, const QRect& monitor);

// A window wider or higher than the work area (stored on a larger screen, or before the
// scale changed) shrinks to it on that side, starting at its edge, so that no part of the
// window (its status bar) is out of reach; a window that fits stays as it is.
QRect shrunkToWorkArea(const QRect& window, const QRect& workArea);

// The screen nearest to rect (the one holding most of it, else the one closest to it);
// the primary screen when there is none.
const QScreen* nearestScreen(const QRect& rect);

}  // namespace ravinel
