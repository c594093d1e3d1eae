#include "viewer/display_geometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace ravinel {
namespace {

// A 1280 x 1024 screen with a 25-pixel panel at the top: the framed fit box is 1274 x 999.
ScreenMetrics screen() {
    ScreenMetrics m;
    m.workLeft = 0;
    m.workTop = 25;
    m.workWidth = 1280;
    m.workHeight = 999 + 25;
    m.frameX = 6;
    m.frameY = 25;
    m.frameWidth = 3;
    m.frameHeight = 3;
    m.vScrollWidth = 16;
    m.hScrollHeight = 16;
    m.maxClientWidth = 1274;
    m.maxClientHeight = 999;
    return m;
}

ViewFormConf mode(uint8_t sizeMode, double rate = 1, uint16_t fixed = 640) {
    ViewFormConf conf;
    conf.sizeMode = modeOfIndex<SizeMode>(sizeMode);
    conf.sizeRate = rate;
    conf.sizeFixed = fixed;
    return conf;
}

DisplaySize framed(int32_t w, int32_t h, const ViewFormConf& conf) {
    return calcDisplaySize(w, h, conf, screen(), false);
}

TEST(CalcDisplaySize, FitModeScalesDownAndUpWithHalvesGoingUp) {
    // 1200 * 1274 / 1600 = 955.5.
    EXPECT_EQ(framed(1600, 1200, mode(1)), (DisplaySize{1274, 956}));
    // Height decides: 800 * 999 / 1200 = 666.
    EXPECT_EQ(framed(800, 1200, mode(1)), (DisplaySize{666, 999}));
    // A small picture is enlarged, but no more than 256 times.
    EXPECT_EQ(framed(100, 50, mode(1)), (DisplaySize{1274, 637}));
    EXPECT_EQ(framed(1, 1, mode(1)), (DisplaySize{256, 256}));
}

TEST(CalcDisplaySize, FramelessFitFillsTheWorkArea) {
    EXPECT_EQ(calcDisplaySize(1280, 1024, mode(1), screen(), true), (DisplaySize{1280, 1024}));
    EXPECT_EQ(calcDisplaySize(2560, 1024, mode(1), screen(), true), (DisplaySize{1280, 512}));
    // Only the fit mode takes the work area; other modes ignore the frame.
    EXPECT_EQ(calcDisplaySize(300, 200, mode(0), screen(), true), (DisplaySize{300, 200}));
}

TEST(CalcDisplaySize, RateIsCutToA4096Box) {
    EXPECT_EQ(framed(100, 50, mode(2, 2)), (DisplaySize{200, 100}));
    // 6000 x 4000 is cut to the 4096 box; the width decides: 2000 * 4096 / 3000 = 2730.67.
    EXPECT_EQ(framed(3000, 2000, mode(2, 2)), (DisplaySize{4096, 2731}));
    EXPECT_EQ(framed(1000, 800, mode(2, 0.95136)), (DisplaySize{951, 761}));
}

TEST(CalcDisplaySize, RatesThatVanishOrAreNoNumberStillGiveAPixel) {
    // 0.004 * 100 rounds to 0, which becomes 1.
    EXPECT_EQ(framed(100, 100, mode(2, 0.004)), (DisplaySize{1, 1}));
    EXPECT_EQ(framed(100, 100, mode(2, -3)), (DisplaySize{1, 1}));
    EXPECT_EQ(framed(100, 100, mode(2, std::numeric_limits<double>::quiet_NaN())),
              (DisplaySize{1, 1}));
    EXPECT_EQ(framed(100, 100, mode(2, 1e300)), (DisplaySize{4096, 4096}));
}

TEST(CalcDisplaySize, LongSideModeIsCutToTheSame4096Box) {
    EXPECT_EQ(framed(100, 50, mode(3, 1, 320)), (DisplaySize{320, 160}));
    EXPECT_EQ(framed(50, 100, mode(3, 1, 320)), (DisplaySize{160, 320}));
    EXPECT_EQ(framed(100, 50, mode(3, 1, 65535)), (DisplaySize{4096, 2048}));
}

TEST(CalcDisplaySize, LowerLimitIsA256thOfThePicture) {
    EXPECT_EQ(framed(4096, 4096, mode(2, 0.001)), (DisplaySize{16, 16}));
    // A thin picture: its short side would vanish, so the long side follows the ratio.
    EXPECT_EQ(framed(60000, 100, mode(3, 1, 100)), (DisplaySize{600, 1}));
    EXPECT_EQ(framed(100, 60000, mode(3, 1, 100)), (DisplaySize{1, 600}));
}

TEST(CalcDisplaySize, UnknownModeActsAsFramedFitEvenWhenFrameless) {
    EXPECT_EQ(calcDisplaySize(1600, 1200, mode(9), screen(), true), (DisplaySize{1274, 956}));
}

TEST(CalcDisplaySize, ZeroBoxesAndSizesNeverGiveAZeroSide) {
    // A long side of 0 from a hand-edited settings file.
    for (auto [w, h] : {std::pair{100, 100}, std::pair{100, 1}, std::pair{1, 100},
                        std::pair{1000, 10}, std::pair{1, 1}}) {
        const DisplaySize size = framed(w, h, mode(3, 1, 0));
        EXPECT_GE(size.width, 1) << w << "x" << h;
        EXPECT_GE(size.height, 1) << w << "x" << h;
    }
    // No work area at all.
    EXPECT_EQ(calcDisplaySize(640, 480, mode(1), ScreenMetrics{}, false), (DisplaySize{3, 2}));
    // A picture without size counts as one pixel.
    EXPECT_EQ(framed(0, 0, mode(0)), (DisplaySize{1, 1}));
}

TEST(CalcDisplaySize, LargeSidesSaturateInsteadOfWrapping) {
    ScreenMetrics huge = screen();
    huge.maxClientWidth = 100000;
    huge.maxClientHeight = 100000;
    EXPECT_EQ(calcDisplaySize(1000, 1000, mode(1), huge, false), (DisplaySize{65535, 65535}));
}

// --- window placement ---

WindowBounds place(int32_t dw, int32_t dh, uint8_t posMode = 0, bool frameless = false) {
    return placeWindow(dw, dh, screen(), modeOfIndex<PosMode>(posMode), frameless);
}

TEST(PlaceWindow, WindowSizeByWhatFits) {
    // Fits: picture plus frame.
    EXPECT_EQ(place(800, 600), (WindowBounds{0, 25, 806, 625}));
    // Too tall, room for a vertical bar: as tall as the work area.
    EXPECT_EQ(place(800, 1200), (WindowBounds{0, 25, 822, 1024}));
    // Too wide, room for a horizontal bar: as wide as the work area.
    EXPECT_EQ(place(2000, 600), (WindowBounds{0, 25, 1280, 641}));
    // Too large both ways.
    EXPECT_EQ(place(2000, 1200), (WindowBounds{0, 25, 1280, 1024}));
    // Too tall and too wide for a scroll bar beside it.
    EXPECT_EQ(place(1270, 1200), (WindowBounds{0, 25, 1280, 1024}));
    // Too wide and no room for a scroll bar below it.
    EXPECT_EQ(place(2000, 990), (WindowBounds{0, 25, 1280, 1024}));
}

TEST(PlaceWindow, FramelessUsesTheWholeWorkAreaAndNoFrame) {
    EXPECT_EQ(place(1280, 1024, 0, true), (WindowBounds{0, 25, 1280, 1024}));
    EXPECT_EQ(place(800, 600, 0, true), (WindowBounds{0, 25, 800, 600}));
    EXPECT_EQ(place(800, 1200, 0, true), (WindowBounds{0, 25, 816, 1024}));
}

TEST(PlaceWindow, PositionModes) {
    ScreenMetrics m = screen();
    m.workLeft = 1280;  // a second monitor
    EXPECT_EQ(placeWindow(800, 600, m, PosMode::left, false).left, 1280);
    EXPECT_EQ(placeWindow(800, 600, m, PosMode::centre, false).left, 1280 + 237);
    EXPECT_EQ(placeWindow(800, 600, m, PosMode::right, false).left, 1280 + 474);
    EXPECT_EQ(placeWindow(800, 600, m, modeOfIndex<PosMode>(7), false).left, 1280);
    EXPECT_EQ(placeWindow(800, 600, m, PosMode::centre, false).top, 25);
}

TEST(PlaceWindow, CentringTruncatesTowardZero) {
    // One pixel narrower than the work area: (1280 - 1279) / 2 is 0.
    EXPECT_EQ(place(1279, 600, 1, true).left, 0);
    // One pixel wider (a client box larger than the work area): still 0, not -1.
    ScreenMetrics m = screen();
    m.maxClientWidth = 1281;
    m.frameX = 0;
    EXPECT_EQ(placeWindow(1281, 600, m, PosMode::centre, false).left, 0);
}

}  // namespace
}  // namespace ravinel
