#include "process/pipeline/g_process.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "dib/nk_dib_error.h"
#include "process/filter/image_filters.h"
#include "process/resample/g_resize.h"
#include "tests/core/process/picture.h"

namespace ravinel {
namespace {

using testing::Picture;
using testing::randomPicture;
using testing::toDib;
using testing::toPicture;

// A pipeline over a random source that records its stage texts.
struct RecordingProcess {
    GProcess process;
    std::vector<std::string> texts;

    RecordingProcess(const Picture& source, int width, int height) {
        process.source = toDib(source);
        process.destWidth = static_cast<uint16_t>(width);
        process.destHeight = static_cast<uint16_t>(height);
        process.onProgress = [this](ProcessStage stage) {
            texts.push_back(processStageText(stage));
        };
    }
};

Picture filtered(void (*filter)(NkDib&, const NkDib&, const ProgressStageEvent&), Picture p) {
    NkDib result;
    filter(result, toDib(p), {});
    return toPicture(result);
}

Picture noiseRemoved(Picture p, bool use3DNow) {
    NkDib result;
    (use3DNow ? conditionalAverage3DNow : conditionalAverage)(result, toDib(p), 15, {});
    return toPicture(result);
}

TEST(GProcess, ReductionWithDefaultFiltersRunsThemAfterTheAreaReduction) {
    std::mt19937 rng(1);
    const Picture source = randomPicture(rng, 101, 80);
    RecordingProcess run(source, 50, 40);
    run.process.settings.reductMode = ResizeMethod::area;
    run.process.settings.fltInReduct = filterSetFromText("0220");
    run.process.execute();

    EXPECT_EQ(run.texts, (std::vector<std::string>{"リサイズ中", "輝度ノーマライズ処理中",
                                                   "シャープ処理中", "カラー深度変更中"}));
    const Picture expected = filtered(
        sharpen, filtered(normalizeBrightness, testing::resized(areaReduce, source, 40, 50)));
    EXPECT_EQ(toPicture(run.process.dest), expected);
    // The source is never changed.
    EXPECT_EQ(toPicture(run.process.source), source);
}

TEST(GProcess, EnlargementRunsBeforeFiltersOnTheSource) {
    std::mt19937 rng(2);
    const Picture source = randomPicture(rng, 33, 21);
    RecordingProcess run(source, 70, 45);
    run.process.settings.expandMode = ResizeMethod::area;
    run.process.settings.fltInExpand = filterSetFromText("0010");
    run.process.execute();

    EXPECT_EQ(run.texts, (std::vector<std::string>{"リサイズ中", "輝度ノーマライズ処理中",
                                                   "カラー深度変更中"}));
    EXPECT_EQ(toPicture(run.process.dest),
              testing::resized(areaExpand, filtered(normalizeBrightness, source), 45, 70));
}

TEST(GProcess, AtTheSourceHeightOnlyAfterPhaseFiltersRunAndNothingIsResized) {
    std::mt19937 rng(3);
    const Picture source = randomPicture(rng, 17, 12);
    // Phase 1 never applies at 1:1, and the width does not count.
    RecordingProcess before(source, 99, 12);
    before.process.settings.fltInOgsize = filterSetFromText("0001");
    before.process.execute();
    EXPECT_EQ(before.texts, (std::vector<std::string>{"リサイズ中", "カラー深度変更中"}));
    EXPECT_EQ(toPicture(before.process.dest), source);

    for (bool use3DNow : {false, true}) {
        RecordingProcess after(source, 17, 12);
        after.process.settings.fltInOgsize = filterSetFromText("0002");
        after.process.settings.use3DNow = use3DNow;
        after.process.execute();
        EXPECT_EQ(after.texts, (std::vector<std::string>{"リサイズ中", "弱ノイズ除去処理中",
                                                         "カラー深度変更中"}));
        EXPECT_EQ(toPicture(after.process.dest), noiseRemoved(source, use3DNow));
    }
}

TEST(GProcess, FilterValueThreeRunsNothing) {
    std::mt19937 rng(4);
    const Picture source = randomPicture(rng, 20, 30);
    RecordingProcess run(source, 10, 15);
    run.process.settings.reductMode = ResizeMethod::area;
    run.process.settings.fltInReduct = filterSetFromText("0333");
    run.process.execute();
    EXPECT_EQ(run.texts, (std::vector<std::string>{"リサイズ中", "カラー深度変更中"}));
    EXPECT_EQ(toPicture(run.process.dest), testing::resized(areaReduce, source, 15, 10));
}

TEST(GProcess, ResizingMethodsFollowTheModes) {
    std::mt19937 rng(5);
    const Picture source = randomPicture(rng, 40, 30);
    struct Case {
        int height;
        uint8_t mode;
        testing::Resizer resize;
    };
    for (const Case& c : {Case{20, 0, stretchDrawResize}, Case{20, 1, halftoneResize},
                          Case{20, 7, stretchDrawResize}, Case{50, 0, stretchDrawResize},
                          Case{50, 1, halftoneResize}, Case{50, 2, areaExpand}}) {
        RecordingProcess run(source, 33, c.height);
        run.process.settings.reductMode = modeOfIndex<ResizeMethod>(c.mode);
        run.process.settings.expandMode = modeOfIndex<ResizeMethod>(c.mode);
        run.process.execute();
        EXPECT_EQ(toPicture(run.process.dest), testing::resized(c.resize, source, c.height, 33))
            << "height " << c.height << " mode " << int(c.mode);
    }
}

TEST(GProcess, DitheringOnlyInColourModeZero) {
    std::mt19937 rng(6);
    const Picture source = randomPicture(rng, 23, 19);
    RecordingProcess plain(source, 23, 19);
    plain.process.execute();
    EXPECT_EQ(toPicture(plain.process.dest), source);

    RecordingProcess dithered(source, 23, 19);
    dithered.process.settings.dither = true;
    dithered.process.execute();
    NkDib expected = toDib(source);
    ditherTo16Bit(expected);
    EXPECT_EQ(toPicture(dithered.process.dest), toPicture(expected));
    EXPECT_EQ(dithered.process.dest.paletteSize(), 0);

    // A colour mode above 4 gives 24 bits without dithering.
    RecordingProcess beyond(source, 23, 19);
    beyond.process.settings.dither = true;
    beyond.process.settings.colorMode = modeOfIndex<ColorMode>(9);
    beyond.process.execute();
    EXPECT_EQ(toPicture(beyond.process.dest), source);
    EXPECT_EQ(beyond.process.colorModeName(), "");
}

TEST(GProcess, ColourModesGiveTheirPixelFormats) {
    std::mt19937 rng(7);
    const Picture source = randomPicture(rng, 31, 17);
    const std::vector<std::string> names = {"24", "HalfTone8", "8", "4", "HalfTone1"};
    const std::vector<int> bitCounts = {24, 8, 8, 4, 1};
    for (uint8_t mode = 0; mode < 5; ++mode) {
        RecordingProcess run(source, 31, 17);
        run.process.settings.colorMode = modeOfIndex<ColorMode>(mode);
        run.process.execute();
        EXPECT_EQ(run.process.colorModeName(), names[mode]);
        EXPECT_EQ(run.process.dest.bitCount(), bitCounts[mode]) << int(mode);
        EXPECT_EQ(run.process.dest.width(), 31);
        EXPECT_EQ(run.process.dest.height(), 17);
    }
    // The halftone palette has its 215 entries; the chosen palettes come from the picture.
    RecordingProcess halftone(source, 31, 17);
    halftone.process.settings.colorMode = ColorMode::halftone8;
    halftone.process.execute();
    EXPECT_EQ(halftone.process.dest.paletteSize(), 215);
}

TEST(GProcess, PaletteSourcesAreConvertedWithoutTouchingTheSource) {
    GProcess process;
    process.source.setWidth(6);
    process.source.setHeight(4);  // 8-bit, 256 black entries
    process.source.setPaletteEntry(1, RgbQuad{10, 20, 30, 0});
    process.source.scanLine(2)[3] = 1;
    process.destWidth = 6;
    process.destHeight = 4;
    process.execute();
    EXPECT_EQ(process.source.bitCount(), 8);
    ASSERT_EQ(process.dest.bitCount(), 24);
    const uint8_t* row = process.dest.constScanLine(2);
    EXPECT_EQ(row[9], 10);
    EXPECT_EQ(row[10], 20);
    EXPECT_EQ(row[11], 30);
}

TEST(GProcess, AFailureLeavesTheBlankDisplayPicture) {
    std::mt19937 rng(8);
    RecordingProcess run(randomPicture(rng, 8, 8), 0, 4);
    run.process.settings.reductMode = ResizeMethod::area;
    EXPECT_THROW(run.process.execute(), NkDibError);
    EXPECT_EQ(run.process.dest.width(), 1);
    EXPECT_EQ(run.process.dest.height(), 1);
}

}  // namespace
}  // namespace ravinel
