#include <gtest/gtest.h>

#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

TEST(NkDibCore, NewDibIsOnePixelEightBitWithBlackPalette) {
    NkDib dib;
    EXPECT_EQ(dib.width(), 1);
    EXPECT_EQ(dib.height(), 1);
    EXPECT_EQ(dib.bitCount(), 8);
    EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf8Bit);
    ASSERT_EQ(dib.palette().size(), 256u);
    for (const RgbQuad& q : dib.palette()) {
        EXPECT_EQ(q, RgbQuad{});
    }
    EXPECT_EQ(dib.backgroundColor(), 0xFFFFFFu);
    EXPECT_EQ(dib.convertMode(), NkDib::kConvertFast);
}

TEST(NkDibCore, SizeAndBitCountWritesBlankThePicture) {
    NkDib dib;
    dib.setBitCount(24);
    dib.setWidth(3);
    dib.setHeight(2);
    dib.scanLine(1)[0] = 0x55;
    dib.setWidth(5);
    EXPECT_EQ(dib.width(), 5);
    EXPECT_EQ(dib.height(), 2);
    EXPECT_EQ(dib.bitCount(), 24);
    EXPECT_EQ(dib.paletteSize(), 0);
    EXPECT_EQ(dib.stride(), 16u);
    for (int y = 0; y < 2; ++y) {
        for (int i = 0; i < 15; ++i) {
            EXPECT_EQ(dib.constScanLine(y)[i], 0) << y << "," << i;
        }
    }
    dib.setBitCount(4);
    EXPECT_EQ(dib.paletteSize(), 16);
    EXPECT_EQ(dib.stride(), 4u);
}

TEST(NkDibCore, InvalidWritesRaiseTheirMessages) {
    using testing::expectError;
    NkDib dib;
    expectError<NkDibError>([&] { dib.setWidth(0); }, "TNkDIB.SetWidth: Invalid Width");
    expectError<NkDibError>([&] { dib.setHeight(-1); }, "TNkDIB.SetWidth: Invalid Height");
    expectError<NkDibError>([&] { dib.setBitCount(16); }, "TNkDIB.SetBitCount: Invalid BitCount");
    expectError<NkDibPaletteIndexRangeError>(
        [&] { dib.setPaletteSize(0); }, "TNkDIB.SetPaletteSize: Palette Index is Out of Range 2");
    dib.setBitCount(24);
    dib.setPaletteSize(0);
    expectError<NkDibPaletteIndexRangeError>(
        [&] { dib.setPaletteSize(257); }, "TNkDIB.SetPaletteSize: Palette Index is Out of Range 1");
    expectError<NkDibPixelPositionRangeError>([&] { dib.scanLine(1); },
                                              "TNkDIB.GetScanLine: y is Out of Range");
    EXPECT_THROW(dib.constScanLine(-1), NkDibPixelPositionRangeError);
}

TEST(NkDibCore, BottomUpRowZeroIsTheLastRowOfTheBlock) {
    NkDib dib;
    dib.setWidth(2);
    dib.setHeight(3);
    EXPECT_FALSE(dib.isTopDown());
    EXPECT_EQ(dib.constScanLine(0), dib.pixelBlock().data() + 2 * dib.stride());
    EXPECT_EQ(dib.constScanLine(2), dib.pixelBlock().data());
}

TEST(NkDibCore, CopiesShareUntilOneWrites) {
    NkDib a;
    a.setBitCount(24);
    a.setWidth(4);
    a.setHeight(4);
    a.scanLine(2)[5] = 9;
    NkDib b = a;
    EXPECT_TRUE(a.sharesStoreWith(b));
    EXPECT_EQ(a.constScanLine(2), b.constScanLine(2));
    b.scanLine(2)[5] = 200;
    EXPECT_FALSE(a.sharesStoreWith(b));
    EXPECT_EQ(a.constScanLine(2)[5], 9);
    EXPECT_EQ(b.constScanLine(2)[5], 200);
    // The writer that holds the only reference writes in place.
    const uint8_t* before = b.constScanLine(0);
    EXPECT_EQ(b.scanLine(0), before);
}

TEST(NkDibCore, PaletteSizeWritesUnshareOnlyWhenTheyChangeSomething) {
    NkDib a;
    a.setBitCount(24);
    NkDib b = a;
    b.setPaletteSize(0);
    EXPECT_TRUE(a.sharesStoreWith(b));
    b.setPaletteSize(16);
    EXPECT_FALSE(a.sharesStoreWith(b));
    EXPECT_EQ(a.paletteSize(), 0);
    EXPECT_EQ(b.paletteSize(), 16);
}

TEST(NkDibCore, LargePicturesAreZeroFilledAndCopiedWhole) {
    // Large enough for a store of its own mapping, with a size that is no multiple of a page.
    NkDib a;
    a.setBitCount(24);
    a.setWidth(1001);
    a.setHeight(1503);
    size_t nonZero = 0;
    for (int y = 0; y < a.height(); ++y) {
        const uint8_t* row = a.constScanLine(y);
        for (size_t i = 0; i < a.stride(); ++i) {
            nonZero += row[i] != 0;
        }
    }
    EXPECT_EQ(nonZero, 0u);
    a.scanLine(0)[3002] = 7;            // the last byte of the block: bottom-up row 0
    a.scanLine(a.height() - 1)[0] = 9;  // the first byte
    NkDib b = a;
    b.scanLine(1)[0] = 1;  // unshares: the whole block is copied
    EXPECT_EQ(b.constScanLine(0)[3002], 7);
    EXPECT_EQ(b.constScanLine(b.height() - 1)[0], 9);
    EXPECT_EQ(a.constScanLine(1)[0], 0);
}

TEST(NkDibCore, AbsurdSizesAreRefusedBeforeAllocating) {
    NkDib dib;
    dib.setBitCount(24);
    dib.setWidth(100000);
    EXPECT_THROW(dib.setHeight(100000), NkDibInvalidDibError);
    // The failed write left the previous picture in place.
    EXPECT_EQ(dib.width(), 100000);
    EXPECT_EQ(dib.height(), 1);
}

}  // namespace
}  // namespace ravinel
