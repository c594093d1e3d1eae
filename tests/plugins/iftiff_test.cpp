#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

struct TiffPage {
    int width = 37;
    int height = 23;
    std::uint16_t photometric = PHOTOMETRIC_RGB;
    int samples = 3;  // 4: RGB with unassociated alpha
    bool tiled = false;
    bool reduced = false;
    int shift = 0;
};

std::uint8_t sampleAt(const TiffPage& page, int x, int y, int channel) {
    return static_cast<std::uint8_t>(x * 11 + y * 17 + channel * 71 + page.shift);
}

std::array<std::uint8_t, 3> paletteColour(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i * 3)};
}

void writePixels(TIFF* tiff, const TiffPage& page) {
    const auto pixel = [&](Bytes& into, std::size_t at, int x, int y) {
        for (int c = 0; c < page.samples; ++c) {
            into[at + static_cast<std::size_t>(c)] = sampleAt(page, x, y, c);
        }
    };
    if (!page.tiled) {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 5);
        Bytes row(static_cast<std::size_t>(page.width * page.samples));
        for (int y = 0; y < page.height; ++y) {
            for (int x = 0; x < page.width; ++x) {
                pixel(row, static_cast<std::size_t>(x * page.samples), x, y);
            }
            ASSERT_EQ(TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0), 1);
        }
        return;
    }
    constexpr int kTile = 16;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
    for (int ty = 0; ty < page.height; ty += kTile) {
        for (int tx = 0; tx < page.width; tx += kTile) {
            Bytes tile(static_cast<std::size_t>(TIFFTileSize(tiff)), 0);
            for (int y = ty; y < std::min(ty + kTile, page.height); ++y) {
                for (int x = tx; x < std::min(tx + kTile, page.width); ++x) {
                    pixel(tile,
                          static_cast<std::size_t>(((y - ty) * kTile + x - tx) * page.samples), x,
                          y);
                }
            }
            ASSERT_GE(TIFFWriteTile(tiff, tile.data(), static_cast<std::uint32_t>(tx),
                                    static_cast<std::uint32_t>(ty), 0, 0),
                      0);
        }
    }
}

void writePage(TIFF* tiff, const TiffPage& page) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    if (page.samples == 4) {
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (page.reduced) {
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    }
    if (page.photometric == PHOTOMETRIC_PALETTE) {
        std::array<std::array<std::uint16_t, 256>, 3> map{};
        for (int i = 0; i < 256; ++i) {
            for (int c = 0; c < 3; ++c) {
                map[c][i] = static_cast<std::uint16_t>(paletteColour(i)[c] * 257);
            }
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    }
    writePixels(tiff, page);
}

// Pages in order; with previewAsSubIfd the second page becomes a SubIFD of the first.
Bytes encodeTiff(const std::vector<TiffPage>& pages, bool previewAsSubIfd = false) {
    TIFFSetWarningHandler(nullptr);
    const TemporaryFile file("encoded.tif", {});
    TIFF* tiff = TIFFOpen(file.path().c_str(), "w");
    EXPECT_NE(tiff, nullptr);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i == 0 && previewAsSubIfd) {
            toff_t offsets[1] = {0};
            TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, offsets);
        }
        writePage(tiff, pages[i]);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    std::ifstream in(file.path(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

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

// Premultiplying alpha in the library may cost one step of rounding.
void expectPicture(const DecodedPicture& picture, const TiffPage& page, int tolerance) {
    ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
    ASSERT_EQ(picture.header.biWidth, page.width);
    ASSERT_EQ(picture.header.biHeight, page.height);
    ASSERT_EQ(picture.header.biBitCount, 24);
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

TEST_F(TiffPlugin, CompositesAlphaOverWhite) {
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
    EXPECT_EQ(decodeFromMemory(module.getPicture, claimedPicture(40000, 40000)).code,
              SPI_NO_MEMORY);
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
