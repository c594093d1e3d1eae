#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "plugin_host/spi_bitmap.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spi_graphic.h"
#include "plugin_host/spis.h"
#include "tests/bmp_builder.h"
#include "tests/core/plugin_host/spi_test_plugins.h"
#include "tests/expect_error.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using testing::decodedBy;
using testing::expectError;
using testing::FixtureMode;
using testing::fixturePicture;
using testing::installFixture;
using testing::kNoPreviewTag;
using testing::kRvtestTag;
using testing::TempDir;

std::vector<uint8_t> withMacBinaryHeader(std::vector<uint8_t> picture) {
    std::vector<uint8_t> data(128, 0x55);
    data.insert(data.end(), picture.begin(), picture.end());
    return data;
}

class SpiDecodeTest : public ::testing::Test {
  protected:
    void addPlugin(const std::string& fixture, const std::string& fileName) {
        spis.add(Spi::load(installFixture(pluginDir, fixture, fileName)));
    }
    NkDib decodeStream(const std::vector<uint8_t>& data, const std::string& name) {
        SpiGraphic graphic(spis);
        graphic.loadFromStreamWithName(data, name);
        return graphic.dib();
    }
    NkDib decodeFile(const std::vector<uint8_t>& data, const std::string& name) {
        SpiGraphic graphic(spis);
        graphic.loadFromFile(dir.write(name, data));
        return graphic.dib();
    }

    TempDir pluginDir;
    TempDir dir;
    Spis spis;
};

TEST_F(SpiDecodeTest, DecodesFromMemoryAndFromFile) {
    addPlugin("rvtest", "a.spi");
    for (const NkDib& picture : {decodeStream(fixturePicture(5, 3, 40, 50), "pic.rvt"),
                                 decodeFile(fixturePicture(5, 3, 40, 50), "pic.rvt")}) {
        EXPECT_EQ(picture.width(), 5);
        EXPECT_EQ(picture.height(), 3);
        EXPECT_EQ(picture.bitCount(), 24);
        const uint8_t* row = picture.constScanLine(2);
        EXPECT_EQ(row[12], 40);
        EXPECT_EQ(row[13], 50);
        EXPECT_EQ(row[14], kRvtestTag);
    }
}

TEST_F(SpiDecodeTest, MacBinaryHeaderIsSkippedWhenAsked) {
    addPlugin("rvtest", "a.spi");
    const std::vector<uint8_t> data = withMacBinaryHeader(fixturePicture(4, 2));
    EXPECT_EQ(decodeStream(data, "pic.rvt").width(), 4);
    EXPECT_EQ(decodeFile(data, "pic.rvt").height(), 2);
    spis.macBinary = false;
    expectError<InvalidGraphicError>([&] { decodeStream(data, "pic.rvt"); },
                                     "Susie Plugins could not decode");
    expectError<InvalidGraphicError>([&] { decodeFile(data, "pic.rvt"); },
                                     "Susie Plugins could not decode");
}

TEST_F(SpiDecodeTest, PreviewFirstAndFallbackToThePicture) {
    addPlugin("nopreview", "a.spi");
    addPlugin("rvtest", "b.spi");
    spis.graphicPreview = true;
    // The plug-in claiming .rvn has no preview entry: its full picture is taken.
    NkDib full = decodeStream(fixturePicture(6, 4), "pic.rvn");
    EXPECT_EQ(full.width(), 6);
    EXPECT_EQ(decodedBy(full), kNoPreviewTag);
    NkDib preview = decodeStream(fixturePicture(6, 4), "pic.rvt");
    EXPECT_EQ(preview.width(), 1);
    EXPECT_EQ(decodedBy(preview), kRvtestTag);
    spis.graphicPreview = false;
    EXPECT_EQ(decodeStream(fixturePicture(6, 4), "pic.rvt").width(), 6);
}

TEST_F(SpiDecodeTest, ClaimingPluginDecodesFirst) {
    addPlugin("rvtest", "a.spi");
    addPlugin("nopreview", "b.spi");
    EXPECT_EQ(decodedBy(decodeStream(fixturePicture(2, 2), "x.rvn")), kNoPreviewTag);
    EXPECT_EQ(decodedBy(decodeStream(fixturePicture(2, 2), "x.rvt")), kRvtestTag);
    EXPECT_EQ(decodedBy(decodeStream(fixturePicture(2, 2), "x.png")), kRvtestTag);
}

TEST_F(SpiDecodeTest, NothingDecodesWithoutPlugins) {
    expectError<InvalidGraphicError>([&] { decodeStream(fixturePicture(2, 2), "x.rvt"); },
                                     "Susie Plugins could not decode");
    addPlugin("archive", "a.spi");  // not a picture plug-in
    expectError<InvalidGraphicError>([&] { decodeFile(fixturePicture(2, 2), "x.rvt"); },
                                     "Susie Plugins could not decode");
    // Data too short for a MacBinary header are offered at offset 0 only.
    addPlugin("rvtest", "b.spi");
    expectError<InvalidGraphicError>(
        [&] {
            decodeStream({'R', 'V', 'T', '1'}, "x.rvt");
        },
        "Susie Plugins could not decode");
}

TEST_F(SpiDecodeTest, BrokenPicturesFromAPluginAreRefused) {
    addPlugin("rvtest", "a.spi");
    for (const FixtureMode mode :
         {FixtureMode::badBitCount, FixtureMode::badHeaderSize, FixtureMode::pixelsTooShort,
          FixtureMode::tooManyColours, FixtureMode::infoTooShort, FixtureMode::noBits}) {
        SCOPED_TRACE(static_cast<int>(mode));
        expectError<InvalidGraphicError>(
            [&] { decodeStream(fixturePicture(3, 3, 1, 2, mode), "x.rvt"); },
            "Susie Plugins could not decode");
    }
    // A broken picture from one plug-in leaves the others their turn.
    addPlugin("nopreview", "b.spi");
    EXPECT_EQ(
        decodedBy(decodeStream(fixturePicture(3, 3, 1, 2, FixtureMode::badBitCount), "x.rvt")),
        kNoPreviewTag);
}

// Plug-ins are other people's code: whatever block layout they hand back, the host reads
// nothing outside the blocks, allocates nothing absurd and lets the next plug-in try.
TEST_F(SpiDecodeTest, HostilePictureBlocksAreRefused) {
    addPlugin("rvtest", "a.spi");
    for (const FixtureMode mode :
         {FixtureMode::negativeWidth, FixtureMode::hugeWidth, FixtureMode::hugeSides,
          FixtureMode::colours257, FixtureMode::headerBeyondBlock, FixtureMode::noInfo,
          FixtureMode::bitFields, FixtureMode::zeroHeight, FixtureMode::alphaBadMasks,
          FixtureMode::alphaBadHeaderSize}) {
        SCOPED_TRACE(static_cast<int>(mode));
        for (const bool preview : {false, true}) {
            expectError<InvalidGraphicError>(
                [&] {
                    spis.graphicPreview = preview;
                    decodeStream(fixturePicture(3, 3, 1, 2, mode), "x.rvt");
                },
                "Susie Plugins could not decode");
        }
    }
    spis.graphicPreview = false;
    addPlugin("nopreview", "b.spi");
    EXPECT_EQ(decodedBy(decodeStream(fixturePicture(3, 3, 1, 2, FixtureMode::hugeSides), "x.rvt")),
              kNoPreviewTag);
}

// A plug-in that does not know the limits is judged by the size it declares: the host
// never asks it for the pixels of a picture the limits refuse, preview or not, and says
// that the size was the reason.
TEST_F(SpiDecodeTest, APictureDeclaredTooLargeIsNeverAskedFor) {
    addPlugin("rvtest", "a.spi");
    for (const bool preview : {false, true}) {
        SCOPED_TRACE(preview);
        spis.graphicPreview = preview;
        expectError<PictureTooLargeError>(
            [&] { decodeStream(fixturePicture(5, 3, 1, 2, FixtureMode::declaresHuge), "x.rvt"); },
            "Picture is too large (60000 x 60000)");
    }
    // A shared budget gives the plug-in's blocks and the file image they become a share:
    // twice 180 bytes for 20 x 3 pixels at 24 bits.
    spis.graphicPreview = false;
    MemoryBudget small(359);
    MemoryBudget enough(360);
    spis.decodeLimits = {kMaxPictureSide, kDisplayDecodeBytes, &small};
    try {
        decodeStream(fixturePicture(20, 3), "x.rvt");
        ADD_FAILURE() << "a picture over the budget was decoded";
    } catch (const PictureTooLargeError& refusal) {
        EXPECT_TRUE(refusal.byMemory());
    }
    spis.decodeLimits.budget = &enough;
    EXPECT_EQ(decodeStream(fixturePicture(20, 3), "x.rvt").width(), 20);
    EXPECT_EQ(enough.available(), 360u);
}

TEST_F(SpiDecodeTest, ProgressStormIsPassedOnOnlyWhenThePercentageGrows) {
    addPlugin("rvtest", "a.spi");
    std::vector<int> percents;
    SpiGraphic graphic(spis);
    graphic.onProgress = [&](ProgressStage stage, int percent, const std::string&) {
        if (stage == ProgressStage::Running) {
            percents.push_back(percent);
        }
    };
    graphic.loadFromStreamWithName(fixturePicture(4, 3, 9, 8, FixtureMode::progressStorm), "x.rvt");
    EXPECT_EQ(graphic.dib().width(), 4);
    EXPECT_EQ(decodedBy(graphic.dib()), kRvtestTag);
    // A million calls with zero, negative and overflowing counts: after "Seeking" and
    // "Loading by" at 1, a few reports within the plug-in stage's range, each above the
    // one before.
    ASSERT_GE(percents.size(), 3u);
    EXPECT_LE(percents.size(), 2u + 98u);
    EXPECT_EQ(percents[0], 1);
    EXPECT_EQ(percents[1], 1);
    for (size_t i = 2; i < percents.size(); ++i) {
        EXPECT_GE(percents[i], 2);
        EXPECT_LE(percents[i], 99);
        EXPECT_GT(percents[i], percents[i - 1]);
    }
}

// Alpha declared the one accepted way reaches the loader beside the straight colours, also
// where it is 0; an opaque picture comes without any.
TEST_F(SpiDecodeTest, AlphaComesWithItsPicture) {
    addPlugin("rvtest", "a.spi");
    SpiGraphic graphic(spis);
    graphic.loadFromStreamWithName(fixturePicture(3, 2, 7, 8, FixtureMode::alpha), "x.rvt");
    ASSERT_TRUE(graphic.metadata().alpha.has_value());
    const NkDib& alpha = *graphic.metadata().alpha;
    ASSERT_EQ(alpha.width(), 3);
    ASSERT_EQ(alpha.height(), 2);
    const uint8_t* top = alpha.constScanLine(0);
    const uint8_t* bottom = alpha.constScanLine(1);
    EXPECT_EQ(std::vector<uint8_t>(top, top + 3), (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_EQ(std::vector<uint8_t>(bottom, bottom + 3), (std::vector<uint8_t>{0, 127, 254}));
    ASSERT_EQ(graphic.dib().bitCount(), 24);
    const uint8_t* pixel = graphic.dib().constScanLine(1);
    EXPECT_EQ(std::vector<uint8_t>(pixel, pixel + 3), (std::vector<uint8_t>{7, 8, kRvtestTag}));

    graphic.loadFromStreamWithName(fixturePicture(3, 2, 7, 8), "x.rvt");
    EXPECT_FALSE(graphic.metadata().alpha.has_value());
}

TEST_F(SpiDecodeTest, PaletteAndTopDownPictures) {
    addPlugin("rvtest", "a.spi");
    const NkDib palette = decodeStream(fixturePicture(3, 2, 7, 8, FixtureMode::palette), "x.rvt");
    EXPECT_EQ(palette.bitCount(), 8);
    ASSERT_GE(palette.paletteSize(), 4);
    EXPECT_EQ(palette.palette()[3], (RgbQuad{7, 8, kRvtestTag, 0}));
    const NkDib topDown = decodeStream(fixturePicture(3, 2, 7, 8, FixtureMode::topDown), "x.rvt");
    EXPECT_EQ(topDown.width(), 3);
    EXPECT_EQ(topDown.height(), 2);
    EXPECT_EQ(decodedBy(topDown), kRvtestTag);
}

TEST_F(SpiDecodeTest, ProgressStagesAndPercentages) {
    addPlugin("rvtest", "a.spi");
    std::vector<std::string> seen;
    SpiGraphic graphic(spis);
    graphic.onProgress = [&](ProgressStage stage, int percent, const std::string& text) {
        seen.push_back(std::to_string(static_cast<int>(stage)) + " " + std::to_string(percent) +
                       " " + text);
    };
    graphic.loadFromStreamWithName(fixturePicture(2, 10), "x.rvt");
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "0 0 Loading Graphic by Susie Plugin",
                        "1 1 Seeking enabled Susie Plugins",
                        "1 1 Loading by [a.spi]",
                        "1 2 Loading by [a.spi]",
                        "1 99 Loading by [a.spi]",
                        "2 100 Loaded Graphic by Susie Plugin",
                    }));
}

TEST_F(SpiDecodeTest, BitmapTriesThePlainReaderFirstForBmpNames) {
    testing::BmpBuilder bmp;
    bmp.width = 2;
    bmp.height = 2;
    bmp.bitCount = 24;
    bmp.pixels.assign(16, 0x33);
    const std::vector<uint8_t> bmpFile = bmp.file();

    SpiBitmap bitmap(spis);
    std::vector<std::string> seen;
    bitmap.onProgress = [&](ProgressStage, int percent, const std::string& text) {
        seen.push_back(std::to_string(percent) + " " + text);
    };
    // No plug-ins: a plain BMP still reads, under any name.
    EXPECT_EQ(bitmap.loadFromStreamWithName(bmpFile, "x.bmp").width(), 2);
    EXPECT_EQ(seen, std::vector<std::string>{"100 Loaded Graphic"});
    EXPECT_EQ(bitmap.loadFromStreamWithName(bmpFile, "x.rvt").width(), 2);

    addPlugin("rvtest", "a.spi");
    // A .bmp that the plain reader refuses goes to the plug-ins.
    EXPECT_EQ(decodedBy(bitmap.loadFromFile(dir.write("y.bmp", fixturePicture(3, 1)))), kRvtestTag);
    seen.clear();
    EXPECT_EQ(bitmap.loadFromStreamWithName(fixturePicture(3, 1), "y.rvt").width(), 3);
    EXPECT_EQ(seen.back(), "100 Loaded Graphic");
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "100 Loaded Graphic by Susie Plugin"), 0);
    expectError<InvalidGraphicError>(
        [&] {
            bitmap.loadFromStreamWithName(std::vector<uint8_t>{1, 2, 3}, "z.rvt");
        },
        "Susie Plugins could not decode");
}

class SpiLoaderTest : public SpiDecodeTest {
  protected:
    GraphicLoadInfo load(const std::string& path, bool preview = false) {
        GraphicLoadInfo info;
        loader.loadFromFile(target, path, preview, info);
        return info;
    }

    GraphicLoader loader{&spis};
    NkDib target;
};

TEST_F(SpiLoaderTest, LoaderDecodesThroughTheHost) {
    addPlugin("rvtest", "a.spi");
    const std::string rvt = dir.write("pic.rvt", fixturePicture(9, 7));
    GraphicLoadInfo info = load(rvt);
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, 9);
    EXPECT_EQ(info.height, 7);

    loader.useSpiPrev = true;
    info = load(rvt, true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusiePreview);
    EXPECT_EQ(info.width, 1);
    EXPECT_EQ(target.width(), 1);

    // By content the stream load runs; the picture needs no known extension then.
    loader.useSpiPrev = false;
    loader.doAnalyze = true;
    info = load(dir.write("pic.unknown", fixturePicture(4, 4)));
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, 4);
    loader.doAnalyze = false;
    EXPECT_EQ(load(dir.path("pic.unknown")).kind, GraphicKind::gkNone);
}

TEST_F(SpiLoaderTest, RegisteredDecodersServeTheirExtensions) {
    addPlugin("rvtest", "a.spi");
    const std::vector<uint8_t> jpeg = fixtures::encodeJpeg(fixtures::gradientPicture(12, 8));
    GraphicLoadInfo info = load(dir.write("photo.jpeg", jpeg));
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, 12);
    EXPECT_EQ(target.bitCount(), 24);
    // A picture of ours under a plug-in's extension is the plug-in's to refuse.
    EXPECT_EQ(load(dir.write("photo.rva", jpeg)).kind, GraphicKind::gkNone);
    EXPECT_EQ(load(dir.write("pic.rvc", fixturePicture(2, 3))).height, 3);
}

}  // namespace
}  // namespace ravinel
