#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dib/dib_pixel_index.h"
#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tests/bmp_builder.h"
#include "tests/core/dib/dib_test_pictures.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::colors;
using testing::distinct;
using testing::expectError;
using testing::paletted;

TEST(NkDibPixelFormat, WideningKeepsEveryColour) {
    for (int from : {1, 4, 8}) {
        const int values = from == 1 ? 2 : 16;
        NkDib source = paletted(
            from, 11, 3, [&](int32_t x, int32_t y) { return (x * 3 + y * 5) % values; }, distinct);
        for (NkDibPixelFormat to :
             {NkDibPixelFormat::pf4Bit, NkDibPixelFormat::pf8Bit, NkDibPixelFormat::pf24Bit,
              NkDibPixelFormat::pf4BitRle, NkDibPixelFormat::pf8BitRle}) {
            if (to == source.pixelFormat() || (from == 8 && to != NkDibPixelFormat::pf24Bit &&
                                               to != NkDibPixelFormat::pf8BitRle)) {
                continue;
            }
            SCOPED_TRACE(::testing::Message() << from << " -> " << static_cast<int>(to));
            NkDib converted = source;
            converted.setPixelFormat(to);
            EXPECT_EQ(converted.pixelFormat(), to);
            EXPECT_EQ(colors(converted), colors(source));
            EXPECT_EQ(source.bitCount(), from);  // the shared source is untouched
        }
    }
    // A top-down picture stays top-down with its rows in place.
    NkDib topDown;
    topDown.loadFromStream([&] {
        testing::BmpBuilder b;
        b.width = 2;
        b.height = -2;
        b.bitCount = 1;
        b.palette = {RgbQuad{0, 0, 0, 0}, RgbQuad{9, 9, 9, 0}};
        b.pixels = {0x80, 0, 0, 0, 0x40, 0, 0, 0};
        return b.file();
    }());
    topDown.setPixelFormat(NkDibPixelFormat::pf24Bit);
    EXPECT_TRUE(topDown.isTopDown());
    EXPECT_EQ(topDown.constScanLine(0)[0], 9);
    EXPECT_EQ(topDown.constScanLine(1)[3], 9);
    EXPECT_EQ(topDown.constScanLine(1)[0], 0);
}

TEST(NkDibPixelFormat, RunLengthFormatsRoundTripAndUnlockScanLines) {
    for (int bits : {4, 8}) {
        NkDib source = paletted(
            bits, 13, 4, [](int32_t x, int32_t y) { return x < 6 ? y : (x * y) % 16; }, distinct);
        const auto plainFormat = bits == 4 ? NkDibPixelFormat::pf4Bit : NkDibPixelFormat::pf8Bit;
        const auto codedFormat =
            bits == 4 ? NkDibPixelFormat::pf4BitRle : NkDibPixelFormat::pf8BitRle;
        NkDib coded = source;
        coded.setPixelFormat(codedFormat);
        EXPECT_FALSE(coded.isTopDown());
        EXPECT_EQ(coded.header().biSizeImage, coded.pixelBlock().size());
        expectError<NkDibBadDibTypeError>([&] { coded.constScanLine(0); },
                                          "TNkDIB.GetScanLine: Bad DIB Type");
        coded.setPixelFormat(plainFormat);
        for (int32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(std::vector<uint8_t>(coded.constScanLine(y),
                                           coded.constScanLine(y) + coded.stride()),
                      std::vector<uint8_t>(source.constScanLine(y),
                                           source.constScanLine(y) + source.stride()));
        }
    }
}

TEST(NkDibPixelFormat, BadRunLengthDataFailsAndKeepsThePicture) {
    testing::BmpBuilder b;
    b.width = 4;
    b.height = 2;
    b.compression = kBiRle8;
    b.palette = testing::greyPalette(256);
    b.pixels = {9, 1, 0, 1};  // a run past the row end
    NkDib dib;
    dib.loadFromStream(b.file());
    std::vector<ProgressStage> stages;
    dib.onProgress = [&](ProgressStage stage, int, int, const std::string&) {
        stages.push_back(stage);
    };
    expectError<NkDibInvalidDibError>([&] { dib.setPixelFormat(NkDibPixelFormat::pf8Bit); },
                                      "Convert8BitRLETo8BitRGB: Bad RLE Data 2");
    expectError<NkDibInvalidDibError>([&] { dib.setPixelFormat(NkDibPixelFormat::pf4Bit); },
                                      "Convert8BitRLETo8BitRGB: Bad RLE Data 2");
    for (NkDibPixelFormat target : {NkDibPixelFormat::pf8BitHalftone,
                                    NkDibPixelFormat::pf1BitHalftone, NkDibPixelFormat::pf1Bit}) {
        expectError<NkDibInvalidDibError>([&] { dib.setPixelFormat(target); },
                                          "Convert8BitRLETo8BitRGB: Bad RLE Data 2");
    }
    EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf8BitRle);
    EXPECT_EQ(std::vector<uint8_t>(dib.pixelBlock().begin(), dib.pixelBlock().end()), b.pixels);
    EXPECT_EQ(stages, (std::vector<ProgressStage>{ProgressStage::Starting, ProgressStage::Ending}));
}

TEST(NkDibPixelFormat, FewColoursReduceToFourBitsExactly) {
    // Twelve colours spread over 200 indices, some indices sharing a colour.
    NkDib source = paletted(
        8, 20, 10, [](int32_t x, int32_t y) { return (x * 10 + y) % 200; },
        [](int i) { return distinct(i % 12); });
    NkDib reduced = source;
    reduced.setPixelFormat(NkDibPixelFormat::pf4Bit);
    EXPECT_EQ(reduced.pixelFormat(), NkDibPixelFormat::pf4Bit);
    EXPECT_EQ(reduced.paletteSize(), 16);
    EXPECT_EQ(colors(reduced), colors(source));
}

TEST(NkDibPixelFormat, ManyColoursReduceToTheNearestOfSixteen) {
    // 200 colours on a grey ramp; colour 0 covers most of the picture.
    NkDib source = paletted(
        8, 40, 40, [](int32_t x, int32_t y) { return y < 30 ? 0 : (x * 10 + y) % 200; },
        [](int i) {
            const auto v = static_cast<uint8_t>(i + 50);
            return RgbQuad{v, v, v, 0};
        });
    std::vector<std::string> messages;
    std::vector<int> positions;
    std::vector<ProgressStage> stages;
    source.onProgress = [&](ProgressStage stage, int position, int total, const std::string& m) {
        stages.push_back(stage);
        positions.push_back(position);
        EXPECT_EQ(total, 16);
        messages.push_back(m);
    };
    NkDib reduced = source;
    reduced.setPixelFormat(NkDibPixelFormat::pf4BitRle);
    ASSERT_EQ(reduced.pixelFormat(), NkDibPixelFormat::pf4BitRle);
    EXPECT_TRUE(messages.empty());  // the handler is not copied with the picture

    const std::vector<RgbQuad> before = colors(source);
    const std::vector<RgbQuad> after = colors(reduced);
    std::vector<RgbQuad> palette(reduced.palette().begin(), reduced.palette().end());
    ASSERT_EQ(palette.size(), 16u);
    for (size_t i = 0; i < before.size(); ++i) {
        // Each pixel got the chosen colour nearest to its own.
        int best = 1 << 30;
        for (const RgbQuad& p : palette) {
            best = std::min(best, std::abs(p.rgbRed - before[i].rgbRed));
        }
        ASSERT_EQ(std::abs(after[i].rgbRed - before[i].rgbRed), best) << i;
        EXPECT_EQ(after[i].rgbRed, after[i].rgbBlue);
    }
    // The colour that covers most pixels is kept exactly. The other fifteen halve the
    // ramp of 200 levels into boxes no wider than 25, so no pixel moves by more than 12.
    EXPECT_EQ(after[0], before[0]);
    int worst = 0;
    for (size_t i = 0; i < before.size(); ++i) {
        worst = std::max(worst, std::abs(after[i].rgbRed - before[i].rgbRed));
    }
    EXPECT_LE(worst, 12);

    source.setPixelFormat(NkDibPixelFormat::pf4Bit);
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), ProgressStage::Starting);
    EXPECT_EQ(stages.back(), ProgressStage::Ending);
    EXPECT_EQ(messages.front(), "PixelFormat 8Bit -> 4Bit");
    EXPECT_EQ(positions.front(), 0);
    EXPECT_EQ(positions[positions.size() - 2], 16);
    for (size_t i = 1; i + 1 < positions.size(); ++i) {
        EXPECT_EQ(stages[i], ProgressStage::Running);
        EXPECT_GT(positions[i], positions[i - 1]);
    }
    EXPECT_EQ(colors(source), after);

    // From run-length data the message names both run-length formats.
    NkDib coded = paletted(
        8, 4, 4, [](int32_t x, int32_t) { return x; }, distinct);
    coded.setPixelFormat(NkDibPixelFormat::pf8BitRle);
    messages.clear();
    coded.onProgress = source.onProgress;
    coded.setPixelFormat(NkDibPixelFormat::pf4BitRle);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "PixelFormat 8BitRLE -> 4BitRLE");
}

TEST(NkDibPixelFormat, SameFormatAndQuickConversionsReportNothing) {
    NkDib a = paletted(
        8, 3, 3, [](int32_t x, int32_t) { return x; }, distinct);
    int events = 0;
    a.onProgress = [&](ProgressStage, int, int, const std::string&) { ++events; };
    NkDib b = a;
    a.setPixelFormat(NkDibPixelFormat::pf8Bit);
    EXPECT_TRUE(a.sharesStoreWith(b));
    a.setPixelFormat(NkDibPixelFormat::pf24Bit);
    a.setPixelFormat(NkDibPixelFormat::pf24Bit);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(b.pixelFormat(), NkDibPixelFormat::pf8Bit);  // the copy is untouched
}

}  // namespace
}  // namespace ravinel
