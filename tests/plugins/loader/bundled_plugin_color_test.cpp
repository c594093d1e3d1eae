#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "plugin_host/spis.h"
#include "plugin_host/spis_search.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/tool_encoders.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/icc_profiles.h"

namespace ravinel {
namespace {

using fixtures::iccBytes;
using fixtures::TestProfile;
using test::Bytes;

// The colours of a picture: its pixels, or its colour table.
std::vector<uint8_t> colorsOf(const NkDib& picture) {
    if (picture.bitCount() == 24) {
        return fixtures::bgrPixels(picture);
    }
    std::vector<uint8_t> colors;
    for (const RgbQuad& entry : picture.palette()) {
        colors.insert(colors.end(), {entry.rgbBlue, entry.rgbGreen, entry.rgbRed});
    }
    return colors;
}

struct ProfiledFile {
    const char* name;
    const char* fileName;
    std::function<Bytes(const Bytes& profile)> encode;
};

// Each plug-in's profile reaches the loader, which converts the colours the plug-in
// decoded as Little CMS called directly does; a file without one stays as decoded.
TEST(BundledPluginColor, EmbeddedProfilesConvertAsLittleCmsDoes) {
    Spis spis;
    spis.searchOptions = 0;
    spis.onSearch = spisSearch;
    spis.search(std::string(BUNDLED_PLUGIN_DIR) + "/*.spi");
    GraphicLoader loader(&spis);
    testing::TempDir dir;
    using test::png_source::encodePng;
    const ProfiledFile files[] = {
        {"PNG", "picture.png",
         [](const Bytes& icc) {
             return encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false}, {}, icc);
         }},
        {"PNG palette", "palette.png",
         [](const Bytes& icc) {
             return encodePng({"Palette8", PNG_COLOR_TYPE_PALETTE, 8, false, false}, {}, icc);
         }},
        {"TIFF", "picture.tif",
         [](const Bytes& icc) { return test::tiff_source::encodeTiff({{}}, false, icc); }},
        {"WebP", "picture.webp",
         [](const Bytes& icc) {
             using namespace test::webp_source;
             const Bytes webp = encodeWebp(losslessBgr, 3);
             return icc.empty() ? webp : test::webp_source::withChunk(webp, "ICCP", icc);
         }},
    };
    const Bytes proPhoto = iccBytes(TestProfile::proPhoto);
    for (const ProfiledFile& file : files) {
        SCOPED_TRACE(file.name);
        auto load = [&](const Bytes& profile) {
            NkDib picture;
            GraphicLoadInfo info;
            loader.loadFromFile(picture, dir.write(file.fileName, file.encode(profile)), false,
                                info);
            EXPECT_EQ(info.kind, GraphicKind::gkSusie);
            return colorsOf(picture);
        };
        const std::vector<uint8_t> stored = load({});
        ASSERT_FALSE(stored.empty());
        EXPECT_EQ(load(proPhoto),
                  fixtures::convertedByLittleCms(proPhoto, {}, stored.data(), stored.size() / 3));
        loader.useColorProfile = false;
        EXPECT_EQ(load(proPhoto), stored);
        loader.useColorProfile = true;
    }
}

}  // namespace
}  // namespace ravinel
