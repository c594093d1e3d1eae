#include "app/screen_metrics_reader.h"

#include <QApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <cmath>

namespace ravinel {

namespace {

const QScreen* screenOf(const QWidget* window) {
    if (window != nullptr) {
        if (const QScreen* screen = window->screen()) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

}  // namespace

int32_t toDevicePixels(double logical, double devicePixelRatio) {
    return static_cast<int32_t>(std::floor(logical * devicePixelRatio + 0.5));
}

ScreenMetrics cachedScreenMetrics() {
    ScreenMetrics metrics;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    if (screen != nullptr) {
        metrics.bitsPerPixel = screen->depth();
    }
    const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    metrics.hScrollHeight = toDevicePixels(scrollBar, ratio);
    metrics.vScrollWidth = metrics.hScrollHeight;
    return metrics;
}

ScreenMetrics readScreenMetrics(const QWidget* window, const ScreenMetrics& cached) {
    ScreenMetrics metrics = cached;
    if (const QScreen* screen = screenOf(window)) {
        const double ratio = screen->devicePixelRatio();
        const QRect work = screen->availableGeometry();
        metrics.workLeft = toDevicePixels(work.left(), ratio);
        metrics.workTop = toDevicePixels(work.top(), ratio);
        metrics.workWidth = toDevicePixels(work.width(), ratio);
        metrics.workHeight = toDevicePixels(work.height(), ratio);
        metrics.bitsPerPixel = screen->depth();
    }
    metrics.maxClientWidth = metrics.workWidth - metrics.frameX;
    metrics.maxClientHeight = metrics.workHeight - metrics.frameY;
    return metrics;
}

}  // namespace ravinel
