#include "codec/bmp/tolerant_bmp_reader.h"

#include <gtest/gtest.h>

#include "codec/graphic_load_error.h"
#include "tests/bmp_builder.h"

namespace ravinel {
namespace {

using testing::BmpBuilder;

constexpr RgbQuad kRed{0, 0, 255, 0};
constexpr RgbQuad kGreen{0, 255, 0, 0};
constexpr RgbQuad kBlue{255, 0, 0, 0};
constexpr RgbQuad kWhite{255, 255, 255, 0};

// Blue, green, red bytes of pixel x in a 24-bit row.
RgbQuad pixel24(const NkDib& dib, int x, int y) {
    const uint8_t* p = dib.constScanLine(y) + 3 * x;
    return RgbQuad{p[0], p[1], p[2], 0};
}

// A 3 x 2 picture of 8-bit indices: top row 0 1 2, bottom row 3 0 1, stored bottom-up.
BmpBuilder eightBitParts(uint32_t headerSize) {
    BmpBuilder parts;
    parts.headerSize = headerSize;
    parts.width = 3;
    parts.height = 2;
    parts.bitCount = 8;
    parts.palette = {kRed, kGreen, kBlue, kWhite};
    parts.clrUsed = headerSize == 12 || headerSize == 16 ? 0 : 4;
    parts.pixels = {3, 0, 1, 0, 0, 1, 2, 0};
    return parts;
}

TEST(TolerantBmpReader, ReadsEveryHeaderSize) {
    for (uint32_t headerSize : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpBuilder parts = eightBitParts(headerSize);
        if (headerSize == 12 || headerSize == 16) {
            parts.palette.resize(256);  // these headers have no colour count: the table is full
        }
        const NkDib dib = readTolerantBmp(parts.file());
        EXPECT_EQ(dib.width(), 3);
        EXPECT_EQ(dib.height(), 2);
        ASSERT_EQ(dib.bitCount(), 8);
        ASSERT_EQ(dib.paletteSize(), 256);
        EXPECT_EQ(dib.palette()[0], kRed);
        EXPECT_EQ(dib.palette()[3], kWhite);
        EXPECT_EQ(dib.constScanLine(0)[0], 0);
        EXPECT_EQ(dib.constScanLine(0)[2], 2);
        EXPECT_EQ(dib.constScanLine(1)[0], 3);
    }
}

TEST(TolerantBmpReader, TopDownRowsComeOutInOrder) {
    BmpBuilder parts;
    parts.width = 2;
    parts.height = -2;
    parts.bitCount = 24;
    parts.pixels = {255, 0, 0,   0,   255, 0,   0, 0,   // top: blue, green
                    0,   0, 255, 255, 255, 255, 0, 0};  // bottom: red, white
    const NkDib dib = readTolerantBmp(parts.file());
    ASSERT_EQ(dib.bitCount(), 24);
    EXPECT_EQ(pixel24(dib, 0, 0), kBlue);
    EXPECT_EQ(pixel24(dib, 1, 0), kGreen);
    EXPECT_EQ(pixel24(dib, 0, 1), kRed);
    EXPECT_EQ(pixel24(dib, 1, 1), kWhite);
}

TEST(TolerantBmpReader, OneAndFourBitKeepTheirIndices) {
    BmpBuilder one;
    one.width = 10;
    one.height = 1;
    one.bitCount = 1;
    one.palette = {kRed, kBlue};
    one.pixels = {0b1010'0000, 0b1100'0000, 0, 0};
    const NkDib dib1 = readTolerantBmp(one.file());
    ASSERT_EQ(dib1.bitCount(), 1);
    EXPECT_EQ(dib1.palette()[1], kBlue);
    EXPECT_EQ(dib1.constScanLine(0)[0], 0b1010'0000);
    EXPECT_EQ(dib1.constScanLine(0)[1], 0b1100'0000);

    BmpBuilder four;
    four.width = 3;
    four.height = 1;
    four.bitCount = 4;
    four.palette = {kRed, kGreen, kBlue};
    four.clrUsed = 3;
    four.pixels = {0x12, 0x00, 0, 0};
    const NkDib dib4 = readTolerantBmp(four.file());
    ASSERT_EQ(dib4.bitCount(), 4);
    ASSERT_EQ(dib4.paletteSize(), 16);  // every index has an entry; missing ones are black
    EXPECT_EQ(dib4.palette()[2], kBlue);
    EXPECT_EQ(dib4.palette()[3], RgbQuad{});
    EXPECT_EQ(dib4.constScanLine(0)[0], 0x12);
}

TEST(TolerantBmpReader, TwoBitWidensToFourBitIndices) {
    BmpBuilder parts;
    parts.width = 5;
    parts.height = 1;
    parts.bitCount = 2;
    parts.palette = {kRed, kGreen, kBlue, kWhite};
    parts.pixels = {0b00'01'10'11, 0b10'000000, 0, 0};
    const NkDib dib = readTolerantBmp(parts.file());
    ASSERT_EQ(dib.bitCount(), 4);
    EXPECT_EQ(dib.palette()[3], kWhite);
    const uint8_t* row = dib.constScanLine(0);
    EXPECT_EQ(row[0], 0x01);
    EXPECT_EQ(row[1], 0x23);
    EXPECT_EQ(row[2], 0x20);
}

TEST(TolerantBmpReader, SixteenBitDefaultAndBitfieldMasks) {
    BmpBuilder plain;  // 5-5-5 without masks
    plain.width = 2;
    plain.height = 1;
    plain.bitCount = 16;
    plain.pixels = {0x1F, 0x7C, 0x10, 0x00};  // 0x7C1F: red and blue full; 0x0010: blue 16
    NkDib dib = readTolerantBmp(plain.file());
    ASSERT_EQ(dib.bitCount(), 24);
    EXPECT_EQ(pixel24(dib, 0, 0), (RgbQuad{255, 0, 255, 0}));
    // 16 shifted to 128, times 255 div 248 (the shifted mask): truncated, not rounded.
    EXPECT_EQ(pixel24(dib, 1, 0), (RgbQuad{131, 0, 0, 0}));

    BmpBuilder rgb565 = plain;
    rgb565.compression = kBiBitfields;
    rgb565.masks = {0xF800, 0x07E0, 0x001F};
    rgb565.pixels = {0xE0, 0x07, 0x00, 0xF8};  // green full, red full
    dib = readTolerantBmp(rgb565.file());
    EXPECT_EQ(pixel24(dib, 0, 0), kGreen);
    EXPECT_EQ(pixel24(dib, 1, 0), kRed);

    rgb565.masks[0] = 0;  // a missing channel reads as 0 instead of refusing the file
    dib = readTolerantBmp(rgb565.file());
    EXPECT_EQ(pixel24(dib, 0, 0), kGreen);
    EXPECT_EQ(pixel24(dib, 1, 0), RgbQuad{});
}

TEST(TolerantBmpReader, ThirtyTwoBitWithMasksDropsAlpha) {
    const std::vector<uint8_t> pixels = {0x11, 0x22, 0x33, 0x80, 0xFF, 0x00, 0x00, 0x00};
    // Bytes R, G, B, A: masks in the byte order of the pixel.
    const std::vector<uint32_t> rgbaMasks = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000};
    for (uint32_t headerSize : {40u, 56u, 108u, 124u}) {
        SCOPED_TRACE(headerSize);
        BmpBuilder parts;
        parts.headerSize = headerSize;
        parts.width = 2;
        parts.height = 1;
        parts.bitCount = 32;
        parts.compression = headerSize == 40 ? 6 : kBiBitfields;  // BI_ALPHABITFIELDS
        parts.masks = rgbaMasks;
        parts.pixels = pixels;
        const NkDib dib = readTolerantBmp(parts.file());
        ASSERT_EQ(dib.bitCount(), 24);
        EXPECT_EQ(pixel24(dib, 0, 0), (RgbQuad{0x33, 0x22, 0x11, 0}));
        EXPECT_EQ(pixel24(dib, 1, 0), kRed);
    }
    BmpBuilder plain;  // BI_RGB: B, G, R, unused
    plain.width = 1;
    plain.bitCount = 32;
    plain.pixels = {0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(pixel24(readTolerantBmp(plain.file()), 0, 0), (RgbQuad{0x11, 0x22, 0x33, 0}));
}

TEST(TolerantBmpReader, RunLengthEightBitExpands) {
    BmpBuilder parts;
    parts.width = 6;
    parts.height = 3;
    parts.bitCount = 8;
    parts.compression = kBiRle8;
    parts.palette.resize(8);
    parts.pixels = {
        3, 5, 0, 3, 1, 2, 3, 0,  // bottom row: run 5 5 5, literal 1 2 3 (padded)
        0, 0,                    // end of line
        0, 2, 2, 1,              // move 2 right and 1 up: to the top row
        2, 7, 0, 1,              // run 7 7 from x 2, end of picture
    };
    const NkDib dib = readTolerantBmp(parts.file());
    ASSERT_EQ(dib.bitCount(), 8);
    ASSERT_EQ(dib.header().biCompression, kBiRgb);
    const std::vector<uint8_t> bottom(dib.constScanLine(2), dib.constScanLine(2) + 6);
    const std::vector<uint8_t> middle(dib.constScanLine(1), dib.constScanLine(1) + 6);
    const std::vector<uint8_t> top(dib.constScanLine(0), dib.constScanLine(0) + 6);
    EXPECT_EQ(bottom, (std::vector<uint8_t>{5, 5, 5, 1, 2, 3}));
    EXPECT_EQ(middle, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<uint8_t>{0, 0, 7, 7, 0, 0}));

    parts.height = -3;  // top-down: the coded rows run from the top
    const NkDib topDown = readTolerantBmp(parts.file());
    EXPECT_EQ(std::vector<uint8_t>(topDown.constScanLine(0), topDown.constScanLine(0) + 6), bottom);
    EXPECT_EQ(std::vector<uint8_t>(topDown.constScanLine(2), topDown.constScanLine(2) + 6), top);
}

TEST(TolerantBmpReader, RunLengthFourBitExpands) {
    BmpBuilder parts;
    parts.width = 7;
    parts.height = 1;
    parts.bitCount = 4;
    parts.compression = kBiRle4;
    parts.palette.resize(16);
    parts.pixels = {3, 0xAB, 0, 3, 0x12, 0x30, 0, 1};  // A B A, literal 1 2 3, end
    const NkDib dib = readTolerantBmp(parts.file());
    ASSERT_EQ(dib.bitCount(), 4);
    const uint8_t* row = dib.constScanLine(0);
    EXPECT_EQ(row[0], 0xAB);
    EXPECT_EQ(row[1], 0xA1);
    EXPECT_EQ(row[2], 0x23);
    EXPECT_EQ(row[3], 0x00);
}

TEST(TolerantBmpReader, BrokenRunLengthDataStopsOrClips) {
    BmpBuilder parts;
    parts.width = 4;
    parts.height = 2;
    parts.bitCount = 8;
    parts.compression = kBiRle8;
    parts.palette.resize(4);
    const std::vector<std::vector<uint8_t>> broken = {
        {255, 9, 0, 1},                              // runs far past the row width
        {0, 2, 200, 200, 4, 1},                      // move far outside the picture
        {0, 9, 1, 2},                                // literal cut short by the end of the file
        {0, 2},                                      // move cut short
        {4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 0, 4, 4},  // more rows than the picture has
    };
    for (const auto& data : broken) {
        parts.pixels = data;
        const NkDib dib = readTolerantBmp(parts.file());
        EXPECT_EQ(dib.width(), 4);
        EXPECT_EQ(dib.height(), 2);
    }
    parts.pixels = broken[0];
    const NkDib clipped = readTolerantBmp(parts.file());
    EXPECT_EQ(clipped.constScanLine(1)[3], 9);  // the bottom row, clipped at its end
    EXPECT_EQ(clipped.constScanLine(0)[0], 0);  // nothing spilled into the next row
    parts.pixels = broken[4];
    const NkDib rows = readTolerantBmp(parts.file());
    EXPECT_EQ(rows.constScanLine(0)[0], 2);
    EXPECT_EQ(rows.constScanLine(1)[0], 1);
}

TEST(TolerantBmpReader, ToleratesLyingOffsetsSizesAndShortPixels) {
    BmpBuilder parts = eightBitParts(40);
    parts.bfSize = 12345;
    parts.bfOffBits = 0;
    NkDib dib = readTolerantBmp(parts.file());
    EXPECT_EQ(dib.constScanLine(0)[2], 2);
    EXPECT_EQ(dib.constScanLine(1)[0], 3);

    parts.bfOffBits.reset();
    parts.pixels.resize(5);  // the top row is cut short after one pixel
    dib = readTolerantBmp(parts.file());
    EXPECT_EQ(dib.constScanLine(1)[0], 3);
    EXPECT_EQ(dib.constScanLine(0)[0], 0);
    EXPECT_EQ(dib.constScanLine(0)[1], 0);
}

TEST(TolerantBmpReader, RefusesWhatItCannotRead) {
    const BmpBuilder good = eightBitParts(40);
    auto refused = [](const std::vector<uint8_t>& file) {
        EXPECT_THROW(readTolerantBmp(file), GraphicLoadError);
    };
    std::vector<uint8_t> file = good.file();
    file[0] = 'X';
    refused(file);
    file[0] = 'B';
    file.resize(30);  // the header ends inside the width field
    refused(file);

    BmpBuilder parts = good;
    parts.headerSize = 20;
    refused(parts.file());
    parts = good;
    parts.bitCount = 3;
    refused(parts.file());
    parts = good;
    parts.compression = kBiRle4;  // on an 8-bit picture
    refused(parts.file());
    parts = good;
    parts.compression = 4;  // embedded JPEG
    refused(parts.file());
    parts = good;
    parts.width = 0;
    refused(parts.file());
    parts = good;
    parts.height = 0;
    refused(parts.file());
    parts = good;
    parts.width = 100000;  // 100000 x 100000 x 24 bit: refused before any allocation
    parts.height = -100000;
    parts.bitCount = 24;
    refused(parts.file());
    parts = good;
    parts.pixels.clear();
    refused(parts.file());
}

}  // namespace
}  // namespace ravinel
