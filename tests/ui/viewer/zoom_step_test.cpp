#include "viewer/zoom_step.h"

#include <gtest/gtest.h>

#include "viewer/display_geometry.h"

namespace ravinel {
namespace {

// The size a step leads to, as the window computes it.
DisplaySize applied(const ZoomStep& step, int32_t sourceWidth, int32_t sourceHeight) {
    ViewFormConf conf;
    if (step.kind == ZoomStep::Kind::rate) {
        conf.sizeMode = SizeMode::fixedRate;
        conf.sizeRate = step.rate;
    } else {
        conf.sizeMode = SizeMode::fixedLongSide;
        conf.sizeFixed = static_cast<uint16_t>(step.longSide);
    }
    return calcDisplaySize(sourceWidth, sourceHeight, conf, ScreenMetrics{}, false);
}

TEST(ZoomStep, LargePicturesStepByRateOfTheLongerShownSide) {
    const ZoomStep in = zoomInStep(800, 640, 1000, 800);
    ASSERT_EQ(in.kind, ZoomStep::Kind::rate);
    EXPECT_NEAR(in.rate, 0.95136, 1e-12);
    EXPECT_EQ(applied(in, 1000, 800), (DisplaySize{951, 761}));

    const ZoomStep out = zoomOutStep(800, 640, 1000, 800);
    ASSERT_EQ(out.kind, ZoomStep::Kind::rate);
    EXPECT_NEAR(out.rate, 0.8 * 0.841, 1e-12);

    // A tall picture measures the rate on its height: 400 / 800.
    EXPECT_NEAR(zoomInStep(300, 400, 600, 800).rate, 0.5 * 1.1892, 1e-12);
}

TEST(ZoomStep, SmallPicturesStepByOnePixelOnTheShortSide) {
    const ZoomStep in = zoomInStep(3, 5, 3, 5);
    ASSERT_EQ(in.kind, ZoomStep::Kind::longSide);
    EXPECT_EQ(in.longSide, 7);  // nearest(4 * 5 / 3)
    EXPECT_EQ(applied(in, 3, 5), (DisplaySize{4, 7}));
    EXPECT_EQ(zoomInStep(5, 3, 5, 3).longSide, 7);
    EXPECT_EQ(zoomInStep(4, 4, 4, 4).longSide, 5);

    const ZoomStep out = zoomOutStep(2, 2, 2, 2);
    ASSERT_EQ(out.kind, ZoomStep::Kind::longSide);
    EXPECT_EQ(out.longSide, 1);
    EXPECT_EQ(applied(out, 2, 2), (DisplaySize{1, 1}));
    EXPECT_EQ(zoomOutStep(3, 5, 3, 5).longSide, 3);  // nearest(2 * 5 / 3)
}

TEST(ZoomStep, NothingBelowTwoPixelsOrWithoutASize) {
    EXPECT_EQ(zoomOutStep(1, 1, 1, 1).kind, ZoomStep::Kind::none);
    EXPECT_EQ(zoomOutStep(1, 300, 1, 300).kind, ZoomStep::Kind::none);
    EXPECT_EQ(zoomInStep(800, 640, 0, 0).kind, ZoomStep::Kind::none);
    EXPECT_EQ(zoomOutStep(800, 640, 1000, 0).kind, ZoomStep::Kind::none);
    EXPECT_EQ(zoomInStep(0, 3, 1, 3).kind, ZoomStep::Kind::none);
}

}  // namespace
}  // namespace ravinel
