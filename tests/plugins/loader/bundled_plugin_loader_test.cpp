#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "codec/graphic_loader.h"
#include "dib/dib_orientation.h"
#include "plugin_host/spis.h"
#include "plugin_host/spis_search.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/tool_encoders.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/exif_block.h"

namespace ravinel {
namespace {

using Rgb = std::array<uint8_t, 3>;
using test::Bytes;

Rgb rgbAt(const NkDib& dib, int x, int y) {
    const uint8_t* row = dib.constScanLine(y);
    switch (dib.bitCount()) {
        case 8: {
            const RgbQuad entry = dib.palette()[row[x]];
            return {entry.rgbRed, entry.rgbGreen, entry.rgbBlue};
        }
        case 24:
        case 32: {
            const uint8_t* pixel = row + x * (dib.bitCount() / 8);
            return {pixel[2], pixel[1], pixel[0]};
        }
        default:
            ADD_FAILURE() << "unexpected bit count " << dib.bitCount();
            return {};
    }
}

Bytes pngPicture() {
    return test::png_source::encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false});
}
Rgb pngRgb(int x, int y) {
    using test::png_source::sampleAt;
    return {static_cast<uint8_t>(sampleAt(x, y, 0, 255)),
            static_cast<uint8_t>(sampleAt(x, y, 1, 255)),
            static_cast<uint8_t>(sampleAt(x, y, 2, 255))};
}

// The bundled plug-ins, found by the program's own host in the folder they are
// built into, and a loader with the default options in front of it.
class BundledPluginLoader : public ::testing::Test {
  protected:
    BundledPluginLoader() {
        spis.searchOptions = 0;
        spis.onSearch = spisSearch;
        spis.search(std::string(BUNDLED_PLUGIN_DIR) + "/*.spi");
    }

    GraphicLoadInfo load(const std::string& path, bool preview = false) {
        GraphicLoadInfo info;
        loader.loadFromFile(target, path, preview, info);
        return info;
    }

    // A full decode through the plug-ins: kind, size and pixels at the corners and inside.
    void expectLoaded(const std::string& path, int width, int height,
                      const std::function<Rgb(int, int)>& expected) {
        const GraphicLoadInfo info = load(path);
        ASSERT_EQ(info.kind, GraphicKind::gkSusie);
        EXPECT_EQ(info.width, width);
        EXPECT_EQ(info.height, height);
        ASSERT_EQ(target.width(), width);
        ASSERT_EQ(target.height(), height);
        const std::array<std::array<int, 2>, 6> spots = {{{0, 0},
                                                          {width - 1, 0},
                                                          {0, height - 1},
                                                          {width - 1, height - 1},
                                                          {width / 2, height / 2},
                                                          {5, 3}}};
        for (const auto& [x, y] : spots) {
            EXPECT_EQ(rgbAt(target, x, y), expected(x, y)) << x << "," << y;
        }
    }

    testing::TempDir dir;
    Spis spis;
    GraphicLoader loader{&spis};
    NkDib target;
};

TEST_F(BundledPluginLoader, FindsTheBundledPlugins) {
    ASSERT_EQ(spis.count(), 7);
    for (const char* name : {"ifpng.spi", "ifgif.spi", "iftiff.spi", "ifwebp.spi", "ifavif.spi",
                             "ifheif.spi", "ifjxl.spi"}) {
        EXPECT_GE(spis.indexOfFileName(std::string(BUNDLED_PLUGIN_DIR) + "/" + name), 0) << name;
    }
}

TEST_F(BundledPluginLoader, LoadsEachFormatByItsExtension) {
    {
        SCOPED_TRACE("PNG");
        expectLoaded(dir.write("picture.png", pngPicture()), test::png_source::kWidth,
                     test::png_source::kHeight, pngRgb);
    }
    {
        SCOPED_TRACE("GIF");
        using namespace test::gif_source;
        const GifFrame frame;
        expectLoaded(dir.write("picture.gif", encodeGif({frame})), kScreenWidth, kScreenHeight,
                     [&](int x, int y) {
                         const GifColorType colour = colourOf(indexAt(frame, x, y));
                         return Rgb{colour.Red, colour.Green, colour.Blue};
                     });
    }
    {
        SCOPED_TRACE("TIFF");
        using namespace test::tiff_source;
        const TiffPage page;
        expectLoaded(dir.write("picture.tif", encodeTiff({page})), page.width, page.height,
                     [&](int x, int y) {
                         return Rgb{sampleAt(page, x, y, 0), sampleAt(page, x, y, 1),
                                    sampleAt(page, x, y, 2)};
                     });
    }
    {
        SCOPED_TRACE("WebP");
        using namespace test::webp_source;
        expectLoaded(dir.write("picture.webp", encodeWebp(losslessBgr, 3)), kWidth, kHeight,
                     [](int x, int y) {
                         return Rgb{sampleAt(x, y, 2), sampleAt(x, y, 1), sampleAt(x, y, 0)};
                     });
    }
    // Lossless files of the formats' own tools (HEIF's one rounds by a step, so only the
    // size is checked there).
    using ToolEncoder = Bytes (*)(const Bytes&, test::Coding);
    for (const auto& [name, encode] :
         {std::pair<const char*, ToolEncoder>{"picture.avif", test::encodeAvif},
          {"picture.jxl", test::encodeJxl}}) {
        SCOPED_TRACE(name);
        expectLoaded(dir.write(name, encode(pngPicture(), test::Coding::lossless)),
                     test::png_source::kWidth, test::png_source::kHeight, pngRgb);
    }
    {
        SCOPED_TRACE("HEIF");
        const GraphicLoadInfo info =
            load(dir.write("picture.heic", test::encodeHeic(pngPicture())));
        EXPECT_EQ(info.kind, GraphicKind::gkSusie);
        EXPECT_EQ(target.width(), test::png_source::kWidth);
        EXPECT_EQ(target.height(), test::png_source::kHeight);
    }
}

// Analysed, a PNG named .jpg is recognised by its signature, and a PNG goes to the
// plug-ins' stream load alone: the JPEG step is never reached, whatever the JPEG order.
TEST_F(BundledPluginLoader, AnalysedPngNamedJpgDecodesThroughThePlugins) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    expectLoaded(dir.write("picture.jpg", pngPicture()), test::png_source::kWidth,
                 test::png_source::kHeight, pngRgb);
}

TEST_F(BundledPluginLoader, PreviewUsesTheReducedImageOnlyWhenAllowed) {
    using namespace test::tiff_source;
    TiffPage reduced;
    reduced.width = 9;
    reduced.height = 6;
    reduced.reduced = true;
    const std::string path = dir.write("picture.tif", encodeTiff({TiffPage{}, reduced}));

    GraphicLoadInfo info = load(path, true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, TiffPage{}.width);
    EXPECT_EQ(target.width(), TiffPage{}.width);

    loader.useSpiPrev = true;
    info = load(path, true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusiePreview);
    EXPECT_EQ(info.width, 1);
    EXPECT_TRUE(info.succeeded());
    EXPECT_EQ(target.width(), reduced.width);
    EXPECT_EQ(target.height(), reduced.height);
}

struct OrientedFormat {
    const char* fileName;
    std::function<Bytes(int tag)> encode;
    int width;
    int height;
    std::function<Rgb(int, int)> stored;
};

enum Corner { topLeft, topRight, bottomLeft, bottomRight };

// The stored corners that show at the upright top left and top right, for tags 1 to 8.
const std::array<std::array<Corner, 2>, 8> kUprightTopCorners = {{{topLeft, topRight},
                                                                  {topRight, topLeft},
                                                                  {bottomRight, bottomLeft},
                                                                  {bottomLeft, bottomRight},
                                                                  {topLeft, bottomLeft},
                                                                  {bottomLeft, topLeft},
                                                                  {bottomRight, topRight},
                                                                  {topRight, bottomRight}}};

// Each plug-in gives its picture as stored (the option off) and reports the orientation of
// its eXIf chunk, TIFF tag or EXIF chunk; the host turns the picture (the option on).
TEST_F(BundledPluginLoader, EachFormatStandsUprightForEachOrientation) {
    using test::tiff_source::TiffPage;
    const std::vector<OrientedFormat> formats = {
        {"p.png",
         [](int tag) {
             return test::png_source::encodePng({"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
                                                fixtures::exifWithOrientation(tag, true));
         },
         test::png_source::kWidth, test::png_source::kHeight, pngRgb},
        {"p.tif",
         [](int tag) {
             TiffPage page;
             page.orientation = static_cast<uint16_t>(tag);
             return test::tiff_source::encodeTiff({page});
         },
         TiffPage{}.width, TiffPage{}.height,
         [](int x, int y) {
             using test::tiff_source::sampleAt;
             const TiffPage page;
             return Rgb{sampleAt(page, x, y, 0), sampleAt(page, x, y, 1), sampleAt(page, x, y, 2)};
         }},
        {"p.webp",
         [](int tag) {
             using namespace test::webp_source;
             return withExif(encodeWebp(losslessBgr, 3), fixtures::exifWithOrientation(tag));
         },
         test::webp_source::kWidth, test::webp_source::kHeight,
         [](int x, int y) {
             using test::webp_source::sampleAt;
             return Rgb{sampleAt(x, y, 2), sampleAt(x, y, 1), sampleAt(x, y, 0)};
         }},
    };
    for (const OrientedFormat& format : formats) {
        const int w = format.width;
        const int h = format.height;
        const std::array<std::array<int, 2>, 4> corners = {
            {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}};
        for (int tag = 1; tag <= 8; ++tag) {
            SCOPED_TRACE(std::string(format.fileName) + " tag " + std::to_string(tag));
            const std::string path = dir.write(format.fileName, format.encode(tag));
            loader.useOrientation = false;
            ASSERT_TRUE(load(path).succeeded());
            const NkDib stored = target;
            for (const auto& [x, y] : corners) {
                EXPECT_EQ(rgbAt(stored, x, y), format.stored(x, y)) << "stored " << x << "," << y;
            }

            loader.useOrientation = true;
            const GraphicLoadInfo info = load(path);
            const bool exchanged = tag >= 5;
            EXPECT_EQ(info.width, exchanged ? h : w);
            EXPECT_EQ(info.height, exchanged ? w : h);
            const NkDib expected = turnedUpright(stored, dibOrientationOfTag(tag));
            ASSERT_EQ(target.width(), expected.width());
            ASSERT_EQ(target.height(), expected.height());
            for (int y = 0; y < target.height(); ++y) {
                for (int x = 0; x < target.width(); ++x) {
                    ASSERT_EQ(rgbAt(target, x, y), rgbAt(expected, x, y)) << x << "," << y;
                }
            }
            const auto [left, right] = kUprightTopCorners[static_cast<size_t>(tag - 1)];
            EXPECT_EQ(rgbAt(target, 0, 0), format.stored(corners[left][0], corners[left][1]));
            EXPECT_EQ(rgbAt(target, target.width() - 1, 0),
                      format.stored(corners[right][0], corners[right][1]));
        }
    }
}

// An AVIF turns by its container: irot's anticlockwise quarter turns, then imir's mirror
// (0: top and bottom exchanged, 1: left and right), as the stored corners show.
TEST_F(BundledPluginLoader, AvifStandsUprightByItsRotationAndMirror) {
    const int w = test::png_source::kWidth;
    const int h = test::png_source::kHeight;
    const std::array<std::array<int, 2>, 4> corners = {
        {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}};
    for (int turns = 0; turns < 4; ++turns) {
        for (const int mirror : {-1, 0, 1}) {
            SCOPED_TRACE("irot " + std::to_string(turns) + " imir " + std::to_string(mirror));
            // Where the stored corners are after the transforms, as a 2x2 grid.
            std::array<std::array<Corner, 2>, 2> grid = {
                {{topLeft, topRight}, {bottomLeft, bottomRight}}};
            for (int t = 0; t < turns; ++t) {
                grid = {{{grid[0][1], grid[1][1]}, {grid[0][0], grid[1][0]}}};
            }
            if (mirror == 0) {
                std::swap(grid[0], grid[1]);
            } else if (mirror == 1) {
                std::swap(grid[0][0], grid[0][1]);
                std::swap(grid[1][0], grid[1][1]);
            }
            std::string options = "--irot " + std::to_string(turns);
            if (mirror >= 0) {
                options += " --imir " + std::to_string(mirror);
            }
            const std::string path =
                dir.write("turned.avif", test::encodeAvifWith(pngPicture(), options));
            const GraphicLoadInfo info = load(path);
            ASSERT_TRUE(info.succeeded());
            const bool exchanged = turns % 2 == 1;
            ASSERT_EQ(target.width(), exchanged ? h : w);
            ASSERT_EQ(target.height(), exchanged ? w : h);
            const int right = target.width() - 1;
            const int bottom = target.height() - 1;
            const std::array<std::array<int, 2>, 4> shown = {
                {{0, 0}, {right, 0}, {0, bottom}, {right, bottom}}};
            for (int row = 0; row < 2; ++row) {
                for (int column = 0; column < 2; ++column) {
                    const auto [x, y] = shown[static_cast<size_t>(row * 2 + column)];
                    const auto [sx, sy] =
                        corners[grid[static_cast<size_t>(row)][static_cast<size_t>(column)]];
                    EXPECT_EQ(rgbAt(target, x, y), pngRgb(sx, sy)) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(BundledPluginLoader, TruncatedPngLoadsNothing) {
    const Bytes png = pngPicture();
    const std::string path = dir.write(
        "broken.png", Bytes(png.begin(), png.begin() + static_cast<long>(png.size() / 2)));
    for (const bool analyze : {false, true}) {
        SCOPED_TRACE(analyze ? "by content" : "by extension");
        loader.doAnalyze = analyze;
        const GraphicLoadInfo info = load(path);
        EXPECT_EQ(info.kind, GraphicKind::gkNone);
        EXPECT_FALSE(info.succeeded());
    }
}

}  // namespace
}  // namespace ravinel
