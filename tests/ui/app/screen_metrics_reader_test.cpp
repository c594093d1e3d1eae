#include "app/screen_metrics_reader.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace ravinel {
namespace {

TEST(ScreenMetricsReaderTest, LogicalLengthsBecomeDevicePixelsWithHalvesUp) {
    EXPECT_EQ(toDevicePixels(800, 1.0), 800);
    EXPECT_EQ(toDevicePixels(25, 1.5), 38);    // 37.5
    EXPECT_EQ(toDevicePixels(10, 1.25), 13);   // 12.5
    EXPECT_EQ(toDevicePixels(11, 1.25), 14);   // 13.75
    EXPECT_EQ(toDevicePixels(-25, 1.5), -37);  // -37.5: halves go up on both sides of zero
}

TEST(ScreenMetricsReaderTest, CachedPartHasDepthAndScrollBarsButNoFramesYet) {
    const ScreenMetrics cached = cachedScreenMetrics();
    EXPECT_EQ(cached.bitsPerPixel, QGuiApplication::primaryScreen()->depth());
    EXPECT_GT(cached.hScrollHeight, 0);
    EXPECT_EQ(cached.vScrollWidth, cached.hScrollHeight);
    EXPECT_EQ(cached.frameX, 0);
    EXPECT_EQ(cached.frameY, 0);
}

TEST(ScreenMetricsReaderTest, WorkAreaOfTheWindowsScreenLessTheFrame) {
    ScreenMetrics cached;
    cached.bitsPerPixel = 8;  // replaced by the screen's own depth
    cached.hScrollHeight = 17;
    cached.vScrollWidth = 16;
    cached.frameWidth = 4;
    cached.frameHeight = 4;
    cached.frameX = 8;
    cached.frameY = 30;

    // The offscreen platform has one screen at the origin, without scaling (its size is
    // the Qt version's choice: 800 x 800 in Qt 6.4).
    const QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(QGuiApplication::primaryScreen()->devicePixelRatio(), 1.0);
    ASSERT_GT(work.width(), 100);
    const ScreenMetrics alone = readScreenMetrics(nullptr, cached);
    EXPECT_EQ(alone.workLeft, work.left());
    EXPECT_EQ(alone.workTop, work.top());
    EXPECT_EQ(alone.workWidth, work.width());
    EXPECT_EQ(alone.workHeight, work.height());
    EXPECT_EQ(alone.maxClientWidth, work.width() - 8);
    EXPECT_EQ(alone.maxClientHeight, work.height() - 30);
    EXPECT_EQ(alone.bitsPerPixel, QGuiApplication::primaryScreen()->depth());
    EXPECT_EQ(alone.hScrollHeight, 17);
    EXPECT_EQ(alone.vScrollWidth, 16);
    EXPECT_EQ(alone.frameY, 30);

    QWidget window;
    window.show();
    EXPECT_EQ(readScreenMetrics(&window, cached), alone);
}

}  // namespace
}  // namespace ravinel
