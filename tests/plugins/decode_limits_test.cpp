#include <gtest/gtest.h>

#include <thread>

#include "tests/plugins/dng_writer.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"
#include "tests/plugins/tool_encoders.h"

namespace ravinel::test {
namespace {

struct LimitCase {
    const char* name;
    const char* path;
    Bytes picture;  // larger than 16 pixels on a side, well within the defaults
};

std::vector<LimitCase> limitCases() {
    const Bytes png = png_source::encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false});
    return {
        {"Png", IFPNG_PATH, png},
        {"Gif", IFGIF_PATH, gif_source::encodeGif({gif_source::GifFrame{}})},
        {"Tiff", IFTIFF_PATH, tiff_source::encodeTiff({tiff_source::TiffPage{}})},
        {"Webp", IFWEBP_PATH, webp_source::encodeWebp(webp_source::losslessBgr, 3)},
        {"Avif", IFAVIF_PATH, encodeAvif(png)},
        {"Heif", IFHEIF_PATH, encodeHeic(png)},
        {"Jxl", IFJXL_PATH, encodeJxl(png)},
        {"Raw", IFRAW_PATH, encodeDng({})},
    };
}

// The host's limits reach every bundled plug-in and hold only for the thread that set
// them: a side over the limit is broken data, a buffer over the bytes is no memory.
TEST(PluginDecodeLimits, EachPluginRefusesWhatItsThreadsLimitsRefuse) {
    for (const LimitCase& c : limitCases()) {
        SCOPED_TRACE(c.name);
        const SpiModule module(c.path);
        ASSERT_NE(module.setDecodeLimits, nullptr);
        EXPECT_EQ(module.setDecodeLimits(16, int64_t{1} << 30), SPI_ALL_RIGHT);
        EXPECT_EQ(decodeFromMemory(module.getPicture, c.picture).code, SPI_OUT_OF_ORDER);
        std::thread([&] {
            EXPECT_EQ(decodeFromMemory(module.getPicture, c.picture).code, SPI_ALL_RIGHT);
        }).join();
        module.setDecodeLimits(4096, 100);
        EXPECT_EQ(decodeFromMemory(module.getPicture, c.picture).code, SPI_NO_MEMORY);
        module.setDecodeLimits(4096, int64_t{256} << 20);
        EXPECT_EQ(decodeFromMemory(module.getPicture, c.picture).code, SPI_ALL_RIGHT);
    }
}

}  // namespace
}  // namespace ravinel::test
