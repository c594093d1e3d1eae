#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>

#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

using namespace tiff_source;

std::array<std::uint8_t, 3> expectedRgb(const TiffPage& page, int x, int y) {
    const std::uint8_t first = sampleAt(page, x, y, 0);
    switch (page.photometric) {
        case PHOTOMETRIC_MINISBLACK:
            return {first, first, first};
        case PHOTOMETRIC_PALETTE:
            return paletteColour(first);
        default: {
            const unsigned alpha = page.samples == 4 ? sampleAt(page, x, y, 3) : 255;
            return {overWhite(first, alpha), overWhite(sampleAt(page, x, y, 1), alpha),
                    overWhite(sampleAt(page, x, y, 2), alpha)};
        }
    }
}

// Premultiplying alpha in the library, and undoing it, may cost one step of rounding.
void expectPicture(const DecodedPicture& picture, const TiffPage& page, int tolerance) {
    ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
    ASSERT_EQ(picture.header.biWidth, page.width);
    ASSERT_EQ(picture.header.biHeight, page.height);
    const bool hasAlpha = page.photometric == PHOTOMETRIC_RGB && page.samples == 4;
    ASSERT_EQ(picture.header.biBitCount, hasAlpha ? 32 : 24);
    for (int y = 0; y < page.height; ++y) {
        for (int x = 0; x < page.width; ++x) {
            const auto actual = picture.rgb(x, y);
            const auto expected = expectedRgb(page, x, y);
            for (int c = 0; c < 3; ++c) {
                ASSERT_LE(std::abs(actual[c] - expected[c]), tolerance)
                    << x << "," << y << " channel " << c;
            }
        }
    }
}

class TiffPlugin : public testing::Test {
  protected:
    void expectDecodes(const TiffPage& page, int tolerance = 0) {
        ASSERT_TRUE(module.loaded());
        const Bytes tiff = encodeTiff({page});
        ASSERT_TRUE(module.supports(tiff));
        const auto [code, info] = pictureInfoFromMemory(module, tiff);
        ASSERT_EQ(code, SPI_ALL_RIGHT);
        EXPECT_EQ(info.width, page.width);
        EXPECT_EQ(info.height, page.height);
        EXPECT_EQ(info.colorDepth, 8 * page.samples);
        expectPicture(decodeEverywhere(module, tiff), page, tolerance);
    }

    static inline SpiModule module{IFTIFF_PATH};
};

TEST_F(TiffPlugin, DecodesRgbStrips) {
    expectDecodes(TiffPage{});
}

TEST_F(TiffPlugin, DecodesRgbTiles) {
    TiffPage page;
    page.tiled = true;
    expectDecodes(page);
}

TEST_F(TiffPlugin, DecodesGreyAndPalettePages) {
    TiffPage grey;
    grey.photometric = PHOTOMETRIC_MINISBLACK;
    grey.samples = 1;
    expectDecodes(grey);
    TiffPage palette = grey;
    palette.photometric = PHOTOMETRIC_PALETTE;
    palette.tiled = true;
    expectDecodes(palette);
}

TEST_F(TiffPlugin, KeepsAlphaStraight) {
    TiffPage page;
    page.samples = 4;
    expectDecodes(page, 1);
}

TEST_F(TiffPlugin, PreviewIsTheReducedImageOfALaterDirectory) {
    ASSERT_TRUE(module.loaded());
    TiffPage reduced;
    reduced.width = 9;
    reduced.height = 6;
    reduced.reduced = true;
    reduced.shift = 50;
    for (const bool asSubIfd : {false, true}) {
        SCOPED_TRACE(asSubIfd ? "SubIFD" : "second directory");
        const Bytes tiff = encodeTiff({TiffPage{}, reduced}, asSubIfd);
        expectPicture(decodeFromMemory(module.getPreview, tiff), reduced, 0);
        expectPicture(decodeFromMemory(module.getPicture, tiff), TiffPage{}, 0);
    }
}

TEST_F(TiffPlugin, PreviewFailsWithoutAReducedImage) {
    ASSERT_TRUE(module.loaded());
    TiffPage second;
    second.shift = 9;
    EXPECT_EQ(decodeFromMemory(module.getPreview, encodeTiff({TiffPage{}, second})).code,
              SPI_NO_FUNCTION);
}

// A hand-made header claiming a huge RGB picture whose pixels are not there.
Bytes claimedPicture(std::uint32_t width, std::uint32_t height) {
    Bytes out = {'I', 'I', 42, 0, 8, 0, 0, 0};
    const auto put16 = [&](unsigned v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const auto put32 = [&](std::uint32_t v) {
        put16(v & 0xffff);
        put16(v >> 16);
    };
    const std::array<std::array<std::uint32_t, 3>, 9> entries = {{{256, 4, width},
                                                                  {257, 4, height},
                                                                  {258, 3, 8},
                                                                  {259, 3, 1},
                                                                  {262, 3, 2},
                                                                  {273, 4, 8},
                                                                  {277, 3, 3},
                                                                  {278, 4, height},
                                                                  {279, 4, 1}}};
    put16(entries.size());
    for (const auto& [tag, type, value] : entries) {
        put16(tag);
        put16(type);
        put32(1);
        put32(value);
    }
    put32(0);
    return out;
}

TEST_F(TiffPlugin, RefusesOversizedPicturesBeforeAllocating) {
    ASSERT_TRUE(module.loaded());
    // Until the host sets other limits, a side may have 4096 pixels.
    EXPECT_EQ(decodeFromMemory(module.getPicture, claimedPicture(40000, 40000)).code,
              SPI_OUT_OF_ORDER);
    EXPECT_EQ(decodeFromMemory(module.getPicture, claimedPicture(70000, 1)).code, SPI_OUT_OF_ORDER);
}

TEST_F(TiffPlugin, RefusesTruncatedAndCorruptedData) {
    ASSERT_TRUE(module.loaded());
    TiffPage page;
    page.tiled = true;
    const Bytes tiff = encodeTiff({page});
    expectRejectsBrokenData(module, tiff, tiff.size());
}

}  // namespace
}  // namespace ravinel::test
