#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>

#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

struct PluginCase {
    const char* name;
    const char* path;
    const char* mask;
    const char* description;
    Bytes signature;
};

// An ISO base media file's type box: size, "ftyp", major brand, version 0, compatible
// brands.
Bytes fileType(const char* major, std::initializer_list<const char*> compatible) {
    Bytes box = {0,   0,   0,   static_cast<std::uint8_t>(16 + 4 * compatible.size()),
                 'f', 't', 'y', 'p'};
    for (const char* brand : std::initializer_list<const char*>{major, "\0\0\0\0"}) {
        box.insert(box.end(), brand, brand + 4);
    }
    for (const char* brand : compatible) {
        box.insert(box.end(), brand, brand + 4);
    }
    return box;
}

constexpr const char* kRawMasks =
    "*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;*.raw;"
    "*.rwl;*.3fr;*.erf;*.kdc;*.dcr;*.mrw;*.mos;*.iiq";

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::vector<PluginCase> plugins() {
    return {
        {"Png", IFPNG_PATH, "*.png", "PNG image", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}},
        {"Gif", IFGIF_PATH, "*.gif", "GIF image", {'G', 'I', 'F', '8', '9', 'a'}},
        {"Tiff", IFTIFF_PATH, "*.tif;*.tiff", "TIFF image", {'M', 'M', 0, 42}},
        {"Webp",
         IFWEBP_PATH,
         "*.webp",
         "WebP image",
         {'R', 'I', 'F', 'F', 0x40, 0, 0, 0, 'W', 'E', 'B', 'P'}},
        {"Avif", IFAVIF_PATH, "*.avif", "AVIF image", fileType("avif", {"mif1", "miaf"})},
        {"Heif", IFHEIF_PATH, "*.heic;*.heif", "HEIF image", fileType("heic", {"mif1", "heic"})},
        // A general image brand alone is HEIF too.
        {"Heif", IFHEIF_PATH, "*.heic;*.heif", "HEIF image", fileType("mif1", {})},
        // AVIF files name the general brand as well, and are AVIF.
        {"Avif", IFAVIF_PATH, "*.avif", "AVIF image", fileType("mif1", {"avif", "miaf"})},
        {"Jxl", IFJXL_PATH, "*.jxl", "JPEG XL image", {0xff, 0x0a}},
        {"Jxl",
         IFJXL_PATH,
         "*.jxl",
         "JPEG XL image",
         {0, 0, 0, 0x0c, 'J', 'X', 'L', ' ', '\r', '\n', 0x87, '\n'}},
        // A TIFF header whose first directory holds the DNG version tag.
        {"Raw", IFRAW_PATH, kRawMasks, "Camera RAW image", {'I', 'I', 42,   0,    8, 0, 0, 0,
                                                            1,   0,   0x12, 0xc6, 1, 0, 4, 0,
                                                            0,   0,   1,    4,    0, 0}},
        {"Raw", IFRAW_PATH, kRawMasks, "Camera RAW image", bytesOf("FUJIFILMCCD-RAW 0201")},
    };
}

TEST(PluginInfo, ReportsVersionNameAndOneMask) {
    for (const PluginCase& plugin : plugins()) {
        SCOPED_TRACE(plugin.name);
        const SpiModule module(plugin.path);
        ASSERT_TRUE(module.loaded());
        EXPECT_EQ(module.info(0), "00IN");
        EXPECT_NE(module.info(1).find("Ravinel"), std::string::npos);
        EXPECT_EQ(module.info(2), plugin.mask);
        EXPECT_EQ(module.info(3), plugin.description);
        EXPECT_EQ(module.info(4), "");
        EXPECT_EQ(module.info(-1), "");

        // A short buffer gets a truncated, terminated text.
        std::array<char, 8> small;
        small.fill('x');
        EXPECT_EQ(module.getPluginInfo(1, small.data(), 4), 3);
        EXPECT_EQ(small[3], '\0');
        EXPECT_EQ(small[4], 'x');
        EXPECT_EQ(module.getPluginInfo(0, small.data(), 0), 0);
    }
}

TEST(PluginInfo, EachPluginAcceptsOnlyItsOwnSignature) {
    const std::vector<PluginCase> all = plugins();
    for (const PluginCase& plugin : all) {
        SCOPED_TRACE(plugin.name);
        const SpiModule module(plugin.path);
        ASSERT_TRUE(module.loaded());
        for (const PluginCase& other : all) {
            EXPECT_EQ(module.supports(other.signature), std::string_view(other.path) == plugin.path)
                << other.name;
        }
        EXPECT_FALSE(module.supports({}));
        EXPECT_EQ(module.isSupported("picture.png", nullptr), 0);
        // Only the exports of a picture plug-in are visible.
        EXPECT_NE(module.getPicture, nullptr);
        EXPECT_NE(module.getPictureInfo, nullptr);
        EXPECT_EQ(module.getPreview != nullptr,
                  plugin.name == std::string("Tiff") || plugin.name == std::string("Raw"));
    }
}

TEST(PluginInfo, RejectsMissingArguments) {
    for (const PluginCase& plugin : plugins()) {
        SCOPED_TRACE(plugin.name);
        const SpiModule module(plugin.path);
        ASSERT_TRUE(module.loaded());
        SpiPictureInfo info{};
        EXPECT_NE(module.getPictureInfo(nullptr, 0, SPI_INPUT_MEMORY, &info), SPI_ALL_RIGHT);
        EXPECT_NE(module.getPictureInfo("x", 1, SPI_INPUT_MEMORY, nullptr), SPI_ALL_RIGHT);
        EXPECT_NE(module.getPicture(nullptr, 10, SPI_INPUT_MEMORY, nullptr, nullptr, nullptr, 0),
                  SPI_ALL_RIGHT);
        EXPECT_NE(decodeFromMemory(module.getPicture, {}).code, SPI_ALL_RIGHT);
        EXPECT_NE(decodeFromMemory(module.getPicture, plugin.signature).code, SPI_ALL_RIGHT);
    }
}

}  // namespace
}  // namespace ravinel::test
