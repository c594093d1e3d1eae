#include <gtest/gtest.h>
#include <png.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"
#include "tests/plugins/temporary_file.h"

namespace ravinel::test {
namespace {

using namespace png_source;

// The 8-bit value of a sample as a viewer shows it (16-bit keeps the high byte).
unsigned eightBit(unsigned v, int bitDepth) {
    if (bitDepth == 16) {
        return v >> 8;
    }
    return v * 255 / ((1u << bitDepth) - 1);
}

std::array<std::uint8_t, 3> expectedRgb(const PngCase& c, int x, int y) {
    const unsigned maximum = (1u << c.bitDepth) - 1;
    if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
        const unsigned i = sampleAt(x, y, 0, maximum);
        const png_color colour = paletteColour(i);
        const unsigned alpha = c.transparentPalette ? paletteAlpha(i) : 255;
        return {overWhite(colour.red, alpha), overWhite(colour.green, alpha),
                overWhite(colour.blue, alpha)};
    }
    const int channels = channelsOf(c.colorType);
    const bool grey = channels <= 2;
    const bool alpha = channels == 2 || channels == 4;
    const unsigned a = alpha ? eightBit(sampleAt(x, y, channels - 1, maximum), c.bitDepth) : 255;
    std::array<std::uint8_t, 3> rgb{};
    for (int i = 0; i < 3; ++i) {
        rgb[i] = overWhite(eightBit(sampleAt(x, y, grey ? 0 : i, maximum), c.bitDepth), a);
    }
    return rgb;
}

class PngPlugin : public testing::TestWithParam<PngCase> {
  protected:
    static inline SpiModule module{IFPNG_PATH};
};

TEST_P(PngPlugin, DecodesEveryPixelFromFileAndMemory) {
    ASSERT_TRUE(module.loaded());
    const PngCase& c = GetParam();
    const Bytes png = encodePng(c);
    ASSERT_TRUE(module.supports(png));

    const auto [code, info] = pictureInfoFromMemory(module, png);
    ASSERT_EQ(code, SPI_ALL_RIGHT);
    EXPECT_EQ(info.width, kWidth);
    EXPECT_EQ(info.height, kHeight);
    EXPECT_EQ(info.colorDepth, c.bitDepth * channelsOf(c.colorType));

    const DecodedPicture picture = decodeEverywhere(module, png);
    ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
    ASSERT_EQ(picture.header.biWidth, kWidth);
    ASSERT_EQ(picture.header.biHeight, kHeight);
    const bool keepsPalette = c.colorType == PNG_COLOR_TYPE_PALETTE && !c.transparentPalette;
    const int channels = channelsOf(c.colorType);
    const bool hasAlpha = c.transparentPalette || channels == 2 || channels == 4;
    ASSERT_EQ(picture.header.biBitCount, keepsPalette ? 8 : hasAlpha ? 32 : 24);
    if (keepsPalette) {
        EXPECT_EQ(picture.palette.size(), 1u << c.bitDepth);
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(picture.rgb(x, y), expectedRgb(c, x, y)) << x << "," << y;
        }
    }
}

TEST_P(PngPlugin, RefusesTruncatedAndCorruptedData) {
    ASSERT_TRUE(module.loaded());
    const Bytes png = encodePng(GetParam());
    // Everything before the closing IEND chunk (12 bytes) is needed.
    expectRejectsBrokenData(module, png, png.size() - 12);
}

INSTANTIATE_TEST_SUITE_P(
    ColourTypes, PngPlugin,
    testing::Values(PngCase{"Grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
                    PngCase{"Grey2", PNG_COLOR_TYPE_GRAY, 2, false, false},
                    PngCase{"Grey4", PNG_COLOR_TYPE_GRAY, 4, false, false},
                    PngCase{"Grey8", PNG_COLOR_TYPE_GRAY, 8, false, false},
                    PngCase{"Grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
                    PngCase{"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
                    PngCase{"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
                    PngCase{"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
                    PngCase{"Rgb16", PNG_COLOR_TYPE_RGB, 16, false, false},
                    PngCase{"Rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
                    PngCase{"Rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
                    PngCase{"Palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false},
                    PngCase{"Palette4", PNG_COLOR_TYPE_PALETTE, 4, false, false},
                    PngCase{"Palette8", PNG_COLOR_TYPE_PALETTE, 8, false, false},
                    PngCase{"PaletteTransparent8", PNG_COLOR_TYPE_PALETTE, 8, false, true},
                    PngCase{"PaletteTransparent2", PNG_COLOR_TYPE_PALETTE, 2, false, true},
                    PngCase{"InterlacedRgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},
                    PngCase{"InterlacedPalette4", PNG_COLOR_TYPE_PALETTE, 4, true, false},
                    PngCase{"InterlacedGrey16", PNG_COLOR_TYPE_GRAY, 16, true, false}),
    [](const testing::TestParamInfo<PngCase>& param) { return std::string(param.param.name); });

TEST(PngPluginCalls, ProgressCanAbortAndUnreadableFilesFail) {
    SpiModule module(IFPNG_PATH);
    ASSERT_TRUE(module.loaded());
    const Bytes png = encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false});
    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    const auto stop = [](std::int32_t, std::int32_t, std::intptr_t) -> std::int32_t { return 1; };
    EXPECT_EQ(module.getPicture(reinterpret_cast<const char*>(png.data()),
                                static_cast<std::intptr_t>(png.size()), SPI_INPUT_MEMORY, &info,
                                &bits, stop, 0),
              SPI_ABORT);
    EXPECT_EQ(info, nullptr);
    EXPECT_EQ(bits, nullptr);

    EXPECT_EQ(decodeFromFile(module.getPicture, "/nonexistent/picture.png", 0).code,
              SPI_FILE_READ_ERROR);
    const TemporaryFile file("short.png", png);
    // An offset past the end of the file.
    EXPECT_EQ(
        decodeFromFile(module.getPicture, file.path(), static_cast<std::intptr_t>(png.size()) + 1)
            .code,
        SPI_FILE_READ_ERROR);
    // Only regular files: a FIFO nobody writes and a device fail at once.
    const std::filesystem::path fifo = file.path().string() + ".fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(decodeFromFile(module.getPicture, fifo, 0).code, SPI_FILE_READ_ERROR);
    std::filesystem::remove(fifo);
    EXPECT_EQ(decodeFromFile(module.getPicture, "/dev/zero", 0).code, SPI_FILE_READ_ERROR);
    // A PNG is not a GIF: the GIF plug-in refuses it without crashing.
    SpiModule gif(IFGIF_PATH);
    EXPECT_NE(decodeFromMemory(gif.getPicture, png).code, SPI_ALL_RIGHT);
}

}  // namespace
}  // namespace ravinel::test
