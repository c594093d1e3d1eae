#include "common/window_on_monitor.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstdint>
#include <limits>

namespace ravinel {

namespace {

// The distance between two rectangles that do not meet, squared; 0 when they do.
int64_t gapSquared(const QRect& a, const QRect& b) {
    const int64_t dx =
        std::max<int64_t>({0, int64_t{b.left()} - a.right(), int64_t{a.left()} - b.right()});
    const int64_t dy =
        std::max<int64_t>({0, int64_t{b.top()} - a.bottom(), int64_t{a.top()} - b.bottom()});
    return dx * dx + dy * dy;
}

}  // namespace

QRect keptOnMonitor(const QRect& window, const QRect& monitor) {
    QRect kept = window;
    if (int64_t{monitor.left()} + monitor.width() <= window.left()) {
        kept.moveLeft(0);
    }
    if (int64_t{monitor.top()} + monitor.height() <= window.top()) {
        kept.moveTop(0);
    }
    return kept;
}

QRect shrunkToWorkArea(const QRect& window, const QRect& workArea) {
    QRect shrunk = window;
    if (window.width() > workArea.width()) {
        shrunk.moveLeft(workArea.left());
        shrunk.setWidth(workArea.width());
    }
    if (window.height() > workArea.height()) {
        shrunk.moveTop(workArea.top());
        shrunk.setHeight(workArea.height());
    }
    return shrunk;
}

const QScreen* nearestScreen(const QRect& rect) {
    const QScreen* best = QGuiApplication::primaryScreen();
    int64_t bestArea = -1;
    int64_t bestGap = std::numeric_limits<int64_t>::max();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect geometry = screen->geometry();
        const QRect common = geometry.intersected(rect);
        const int64_t area = common.isEmpty() ? 0 : int64_t{common.width()} * common.height();
        const int64_t gap = gapSquared(geometry, rect);
        if (area > bestArea || (area == 0 && bestArea == 0 && gap < bestGap)) {
            best = screen;
            bestArea = area;
            bestGap = gap;
        }
    }
    return best;
}

}  // namespace ravinel
