#include "common/dib_image.h"

#include <gtest/gtest.h>

#include <vector>

#include "dib/nk_dib_error.h"
#include "tests/bmp_builder.h"

namespace ravinel {
namespace {

using Rows = std::vector<std::vector<uint8_t>>;

// A DIB read from a BMP file whose rows are given top-down; each row is padded with
// bytes a reader must not take for pixels.
NkDib dibOf(uint16_t bitCount, int32_t width, const Rows& topDownRows,
            const std::vector<RgbQuad>& palette, bool topDown) {
    testing::BmpBuilder bmp;
    bmp.width = width;
    const auto rows = static_cast<int32_t>(topDownRows.size());
    bmp.height = topDown ? -rows : rows;
    bmp.bitCount = bitCount;
    bmp.palette = palette;
    bmp.clrUsed = static_cast<uint32_t>(palette.size());
    const size_t stride = dibStride(bitCount, width);
    for (int32_t i = 0; i < rows; ++i) {
        std::vector<uint8_t> row = topDownRows[static_cast<size_t>(topDown ? i : rows - 1 - i)];
        row.resize(stride, 0xEE);
        bmp.pixels.insert(bmp.pixels.end(), row.begin(), row.end());
    }
    NkDib dib;
    dib.loadFromStream(bmp.file());
    return dib;
}

// A run-length coded DIB; the coded data list the rows bottom-up.
NkDib codedDibOf(uint16_t bitCount, int32_t width, int32_t height,
                 const std::vector<uint8_t>& coded, const std::vector<RgbQuad>& palette) {
    testing::BmpBuilder bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.bitCount = bitCount;
    bmp.compression = bitCount == 8 ? kBiRle8 : kBiRle4;
    bmp.palette = palette;
    bmp.clrUsed = static_cast<uint32_t>(palette.size());
    bmp.pixels = coded;
    NkDib dib;
    dib.loadFromStream(bmp.file());
    return dib;
}

constexpr RgbQuad kRed{0, 0, 255, 0};
constexpr RgbQuad kGreen{0, 255, 0, 0};
constexpr RgbQuad kBlue{255, 0, 0, 0};
constexpr RgbQuad kGrey{128, 128, 128, 0};
const QRgb red = qRgb(255, 0, 0);
const QRgb green = qRgb(0, 255, 0);
const QRgb blue = qRgb(0, 0, 255);
const QRgb grey = qRgb(128, 128, 128);
const QRgb black = qRgb(0, 0, 0);

// Rows of an odd width (9 bytes of 12) with distinct colours, stored either way.
Rows trueColorRows() {
    return {{0, 0, 255, 0, 255, 0, 255, 0, 0},  // red, green, blue
            {30, 20, 10, 60, 50, 40, 90, 80, 70}};
}

void expectTrueColorPixels(const QImage& image) {
    ASSERT_EQ(image.size(), QSize(3, 2));
    EXPECT_EQ(image.format(), QImage::Format_BGR888);
    EXPECT_EQ(image.pixel(0, 0), red);
    EXPECT_EQ(image.pixel(1, 0), green);
    EXPECT_EQ(image.pixel(2, 0), blue);
    EXPECT_EQ(image.pixel(0, 1), qRgb(10, 20, 30));
    EXPECT_EQ(image.pixel(2, 1), qRgb(70, 80, 90));
}

TEST(DibToImage, TrueColorRowsComeOutTopDownEitherWay) {
    expectTrueColorPixels(dibToImage(dibOf(24, 3, trueColorRows(), {}, false)));
    expectTrueColorPixels(dibToImage(dibOf(24, 3, trueColorRows(), {}, true)));
}

TEST(DibToImage, TopDownPictureIsSharedAndOutlivesItsDib) {
    QImage image;
    {
        NkDib dib = dibOf(24, 3, trueColorRows(), {}, true);
        image = dibToImage(dib);
        EXPECT_EQ(image.constBits(), dib.pixelBlock().data());
        // A write to the DIB afterwards does not reach the image.
        dib.scanLine(0)[2] = 0;
        dib.setWidth(50);
    }
    expectTrueColorPixels(image);
}

TEST(DibToImage, EightBitIndicesGetTheirPaletteColours) {
    const Rows rows = {{0, 1, 2, 3, 200}, {3, 2, 1, 0, 0}, {1, 1, 1, 1, 2}};
    for (bool topDown : {false, true}) {
        const QImage image = dibToImage(dibOf(8, 5, rows, {kRed, kGreen, kBlue, kGrey}, topDown));
        ASSERT_EQ(image.size(), QSize(5, 3)) << topDown;
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        EXPECT_EQ(image.pixel(0, 0), red) << topDown;
        EXPECT_EQ(image.pixel(3, 0), grey) << topDown;
        // An index past the palette shows black.
        EXPECT_EQ(image.pixel(4, 0), black) << topDown;
        EXPECT_EQ(image.pixel(1, 1), blue) << topDown;
        EXPECT_EQ(image.pixel(4, 2), blue) << topDown;
        EXPECT_EQ(image.pixel(0, 2), green) << topDown;
    }
}

TEST(DibToImage, FourBitPixelsAreSpreadHighNibbleFirst) {
    std::vector<RgbQuad> palette(16, RgbQuad{});
    for (int i = 0; i < 16; ++i) {
        palette[static_cast<size_t>(i)] = RgbQuad{0, 0, static_cast<uint8_t>(i * 16), 0};
    }
    const Rows rows = {{0x12, 0x34, 0x5F}, {0xF0, 0x00, 0xA0}};
    for (bool topDown : {false, true}) {
        const QImage image = dibToImage(dibOf(4, 5, rows, palette, topDown));
        ASSERT_EQ(image.size(), QSize(5, 2));
        EXPECT_EQ(image.format(), QImage::Format_Indexed8);
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(image.pixel(x, 0), qRgb((x + 1) * 16, 0, 0)) << x << " " << topDown;
        }
        EXPECT_EQ(image.pixel(0, 1), qRgb(240, 0, 0));
        EXPECT_EQ(image.pixel(1, 1), black);
        EXPECT_EQ(image.pixel(4, 1), qRgb(160, 0, 0));
    }
}

TEST(DibToImage, OneBitPixelsAcrossAByteBoundary) {
    // Nine pixels: 1 0 1 0 0 0 0 1 | 1, and below 0 1 1 1 1 1 1 0 | 0.
    const Rows rows = {{0xA1, 0x80}, {0x7E, 0x00}};
    for (bool topDown : {false, true}) {
        const QImage image = dibToImage(dibOf(1, 9, rows, {kBlue, kGrey}, topDown));
        ASSERT_EQ(image.size(), QSize(9, 2));
        EXPECT_EQ(image.format(), QImage::Format_Mono);
        const std::vector<QRgb> top = {grey, blue, grey, blue, blue, blue, blue, grey, grey};
        for (int x = 0; x < 9; ++x) {
            EXPECT_EQ(image.pixel(x, 0), top[static_cast<size_t>(x)]) << x << " " << topDown;
        }
        EXPECT_EQ(image.pixel(0, 1), blue);
        EXPECT_EQ(image.pixel(1, 1), grey);
        EXPECT_EQ(image.pixel(8, 1), blue);
    }
}

TEST(DibToImage, RunLengthCodedPicturesAreExpanded) {
    // Bottom row: a run of four 1s; top row: an absolute block 2 3 2 3.
    const NkDib rle8 = codedDibOf(8, 4, 2, {4, 1, 0, 0, 0, 4, 2, 3, 2, 3, 0, 0, 0, 1},
                                  {kGrey, kRed, kGreen, kBlue});
    ASSERT_EQ(rle8.pixelFormat(), NkDibPixelFormat::pf8BitRle);
    const QImage image8 = dibToImage(rle8);
    ASSERT_EQ(image8.size(), QSize(4, 2));
    EXPECT_EQ(image8.pixel(0, 0), green);
    EXPECT_EQ(image8.pixel(1, 0), blue);
    EXPECT_EQ(image8.pixel(3, 0), blue);
    EXPECT_EQ(image8.pixel(0, 1), red);
    EXPECT_EQ(image8.pixel(3, 1), red);

    // Five pixels a row. Bottom: a run alternating 1 and 2; top: absolute 3 0 2 1 3.
    const NkDib rle4 = codedDibOf(4, 5, 2, {5, 0x12, 0, 0, 0, 5, 0x30, 0x21, 0x30, 0, 0, 0, 0, 1},
                                  {kGrey, kRed, kGreen, kBlue});
    ASSERT_EQ(rle4.pixelFormat(), NkDibPixelFormat::pf4BitRle);
    const QImage image4 = dibToImage(rle4);
    ASSERT_EQ(image4.size(), QSize(5, 2));
    const std::vector<QRgb> top = {blue, grey, green, red, blue};
    const std::vector<QRgb> bottom = {red, green, red, green, red};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image4.pixel(x, 0), top[static_cast<size_t>(x)]) << x;
        EXPECT_EQ(image4.pixel(x, 1), bottom[static_cast<size_t>(x)]) << x;
    }
}

TEST(DibToImage, BrokenRunLengthDataIsRefused) {
    // A run of ten pixels in a row of four.
    const NkDib broken = codedDibOf(8, 4, 1, {10, 1, 0, 1}, {kGrey, kRed});
    EXPECT_THROW(dibToImage(broken), NkDibError);
}

}  // namespace
}  // namespace ravinel
