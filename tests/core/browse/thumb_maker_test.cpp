#include "browse/thumb_maker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/core/browse/vix_catalog_builder.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/exif_block.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using testing::TempDir;
using testing::VixCatalogBuilder;

NkDib uniformPicture(int width, int height, uint8_t level) {
    fixtures::SamplePicture picture{width, height, 3, {}};
    picture.samples.assign(static_cast<size_t>(width) * height * 3, level);
    return fixtures::toDib(picture);
}

// Black and white pixels alternating in both directions.
NkDib checkerboard(int width, int height) {
    fixtures::SamplePicture picture{width, height, 3, {}};
    picture.samples.resize(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t level = (x + y) % 2 == 0 ? 0 : 255;
            std::fill_n(picture.at(x, y), 3, level);
        }
    }
    return fixtures::toDib(picture);
}

std::set<uint8_t> levelsOf(const NkDib& dib) {
    std::set<uint8_t> levels;
    for (int y = 0; y < dib.height(); ++y) {
        const uint8_t* row = dib.constScanLine(y);
        levels.insert(row, row + dib.width() * 3);
    }
    return levels;
}

class ThumbMakerTest : public ::testing::Test {
  protected:
    ThumbMakerTest() : loader(nullptr), maker(loader) {
        loader.doAnalyze = true;
        loader.inJpgFirst = true;
        loader.inBmpFirst = true;
        maker.dir = tmp.path("");
    }

    // Examines a fresh item of the name and returns it.
    FileInfoItem examine(const std::string& name) {
        FileInfoItem item;
        item.name = name;
        maker.examineFile(item);
        return item;
    }
    std::string writeJpeg(const std::string& name, int width, int height) {
        return tmp.write(name, fixtures::encodeJpeg(fixtures::gradientPicture(width, height)));
    }

    TempDir tmp;
    GraphicLoader loader;
    ThumbMaker maker;
};

TEST(ThumbPixelFormat, FollowsTheScreenDepth) {
    EXPECT_EQ(thumbPixelFormatForScreenBits(32), NkDibPixelFormat::pf24Bit);
    EXPECT_EQ(thumbPixelFormatForScreenBits(16), NkDibPixelFormat::pf24Bit);
    EXPECT_EQ(thumbPixelFormatForScreenBits(15), NkDibPixelFormat::pf8BitHalftone);
    EXPECT_EQ(thumbPixelFormatForScreenBits(8), NkDibPixelFormat::pf8BitHalftone);
    EXPECT_EQ(thumbPixelFormatForScreenBits(7), NkDibPixelFormat::pf1BitHalftone);
    EXPECT_EQ(thumbPixelFormatForScreenBits(1), NkDibPixelFormat::pf1BitHalftone);
}

TEST_F(ThumbMakerTest, FitSizeFillsTheSquareOnTheLongerSide) {
    maker.imageSize = 96;
    using Size = std::pair<uint16_t, uint16_t>;
    EXPECT_EQ(maker.fitSize(100, 50), Size(96, 48));
    EXPECT_EQ(maker.fitSize(40, 30), Size(96, 72));
    EXPECT_EQ(maker.fitSize(1, 1), Size(96, 96));
    EXPECT_EQ(maker.fitSize(300, 2), Size(96, 1));
    EXPECT_EQ(maker.fitSize(2, 300), Size(1, 96));
    EXPECT_EQ(maker.fitSize(65535, 1), Size(96, 1));
    EXPECT_EQ(maker.fitSize(3, 2), Size(96, 64));
    EXPECT_EQ(maker.fitSize(192, 129), Size(96, 65));  // 64.5 rounds up
    // A size from a broken settings file still gives a usable thumbnail.
    maker.imageSize = 0;
    EXPECT_EQ(maker.fitSize(10, 5), Size(1, 1));
    maker.imageSize = 1'000'000;
    EXPECT_EQ(maker.fitSize(10, 5), Size(4096, 2048));
}

TEST_F(ThumbMakerTest, MakeThumbSizesAndPixelFormats) {
    maker.imageSize = 96;
    for (bool high : {true, false}) {
        maker.hiQuality = high;
        maker.thumbPixelFormat = NkDibPixelFormat::pf24Bit;
        NkDib reduced = fixtures::toDib(fixtures::photoLikePicture(200, 100));
        reduced.setPixelFormat(NkDibPixelFormat::pf8Bit);
        maker.makeThumb(reduced);
        EXPECT_EQ(reduced.width(), 96);
        EXPECT_EQ(reduced.height(), 48);
        EXPECT_EQ(reduced.bitCount(), 24);
        EXPECT_EQ(reduced.paletteSize(), 0);

        maker.thumbPixelFormat = NkDibPixelFormat::pf8BitHalftone;
        NkDib enlarged = fixtures::toDib(fixtures::gradientPicture(40, 30));
        maker.makeThumb(enlarged);
        EXPECT_EQ(enlarged.width(), 96);
        EXPECT_EQ(enlarged.height(), 72);
        EXPECT_EQ(enlarged.bitCount(), 8);

        maker.thumbPixelFormat = NkDibPixelFormat::pf1BitHalftone;
        NkDib same = fixtures::toDib(fixtures::gradientPicture(96, 50));
        maker.makeThumb(same);
        EXPECT_EQ(same.width(), 96);
        EXPECT_EQ(same.height(), 50);
        EXPECT_EQ(same.bitCount(), 1);
    }
}

TEST_F(ThumbMakerTest, HighQualityAveragesLowQualityPicksPixels) {
    maker.imageSize = 50;
    maker.hiQuality = true;
    NkDib high = checkerboard(200, 100);
    maker.makeThumb(high);
    // Every 4 x 4 block averages to mid-grey; sharpening keeps a flat area flat.
    EXPECT_EQ(levelsOf(high), std::set<uint8_t>({128}));
    maker.hiQuality = false;
    NkDib low = checkerboard(150, 75);
    maker.makeThumb(low);
    EXPECT_EQ(levelsOf(low), std::set<uint8_t>({0, 255}));
}

TEST_F(ThumbMakerTest, OneSideKeepingItsLengthStillGivesThePicture) {
    maker.imageSize = 96;
    maker.hiQuality = true;
    NkDib wide = uniformPicture(300, 1, 200);
    maker.makeThumb(wide);
    EXPECT_EQ(wide.width(), 96);
    EXPECT_EQ(wide.height(), 1);
    EXPECT_EQ(levelsOf(wide), std::set<uint8_t>({200}));
    NkDib tall = uniformPicture(1, 300, 90);
    maker.makeThumb(tall);
    EXPECT_EQ(tall.width(), 1);
    EXPECT_EQ(tall.height(), 96);
    EXPECT_EQ(levelsOf(tall), std::set<uint8_t>({90}));
}

TEST_F(ThumbMakerTest, ExaminesFilesOfTheFolder) {
    writeJpeg("photo.jpg", 320, 240);
    writeJpeg("wide.jpg", 5000, 8);
    tmp.write("notes.txt", std::vector<uint8_t>(100, 'a'));
    tmp.write("README", std::vector<uint8_t>(100, 'b'));
    maker.thumbPixelFormat = NkDibPixelFormat::pf8BitHalftone;

    FileInfoItem photo = examine("photo.jpg");
    EXPECT_EQ(photo.info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(photo.info.width, 320);
    EXPECT_EQ(photo.thumbIndex, 0);
    EXPECT_EQ(maker.store.at(0).width(), 100);
    EXPECT_EQ(maker.store.at(0).height(), 75);
    EXPECT_EQ(maker.store.at(0).bitCount(), 8);
    EXPECT_EQ(maker.infoText(photo), "320x240 24bit JPEG");
    maker.examineFile(photo);  // already examined: left alone
    EXPECT_EQ(maker.madeCount, 1);
    EXPECT_EQ(maker.store.count(), 1);

    const FileInfoItem wide = examine("wide.jpg");
    EXPECT_EQ(wide.info.kind, GraphicKind::gkFile);
    EXPECT_EQ(wide.thumbIndex, -1);
    EXPECT_EQ(maker.infoText(wide), "JPGファイル");
    const FileInfoItem notes = examine("notes.txt");
    EXPECT_EQ(notes.info.kind, GraphicKind::gkFile);
    EXPECT_EQ(maker.infoText(notes), "TXTファイル");
    EXPECT_EQ(maker.infoText(examine("README")), "???ファイル");
    EXPECT_EQ(examine("missing.jpg").info.kind, GraphicKind::gkFile);
    EXPECT_EQ(maker.madeCount, 5);
    EXPECT_EQ(maker.store.count(), 1);
}

// The reduced JPEG decodes of both qualities are turned before they are sized: a wide photo
// held upright, red on its stored left and blue on its right, gives a tall thumbnail, red
// at the top.
TEST_F(ThumbMakerTest, ThumbnailsStandUpright) {
    fixtures::SamplePicture photo{640, 320, 3, {}};
    photo.samples.resize(static_cast<size_t>(640) * 320 * 3);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 640; ++x) {
            const uint8_t red = x < 320 ? 255 : 0;
            const uint8_t rgb[3] = {red, 0, static_cast<uint8_t>(255 - red)};
            std::copy(rgb, rgb + 3, photo.at(x, y));
        }
    }
    tmp.write("upright.jpg", fixtures::jpegWithExif(fixtures::encodeJpeg(photo),
                                                    fixtures::exifWithOrientation(6)));
    maker.imageSize = 100;
    for (const bool high : {true, false}) {
        maker.hiQuality = high;
        const FileInfoItem item = examine("upright.jpg");
        EXPECT_EQ(maker.infoText(item), "320x640 24bit JPEG");
        const NkDib& thumb = maker.store.at(item.thumbIndex);
        ASSERT_EQ(thumb.width(), 50);
        ASSERT_EQ(thumb.height(), 100);
        const uint8_t* top = thumb.constScanLine(10) + 3 * 25;
        const uint8_t* bottom = thumb.constScanLine(90) + 3 * 25;
        EXPECT_GT(top[2], 200) << high;
        EXPECT_LT(top[0], 50) << high;
        EXPECT_GT(bottom[0], 200) << high;
        EXPECT_LT(bottom[2], 50) << high;
    }
}

TEST_F(ThumbMakerTest, QualityChoosesTheJpegPreviewSize) {
    writeJpeg("photo.jpg", 640, 480);
    maker.imageSize = 100;
    maker.hiQuality = true;
    examine("photo.jpg");
    EXPECT_EQ(loader.previewSize, 100);
    maker.hiQuality = false;
    const FileInfoItem low = examine("photo.jpg");
    EXPECT_EQ(loader.previewSize, -1);
    EXPECT_EQ(maker.store.at(low.thumbIndex).width(), 100);
}

// photo.jpg is a real picture and in the catalog; fake.jpg is text with a catalog entry;
// plain.jpg is a real picture missing from the catalog.
class ThumbMakerCatalogTest : public ThumbMakerTest {
  protected:
    ThumbMakerCatalogTest() {
        writeJpeg("photo.jpg", 320, 240);
        writeJpeg("plain.jpg", 64, 48);
        tmp.write("fake.jpg", std::vector<uint8_t>(500, 'x'));
        const std::vector<uint8_t> thumb = fixtures::encodeJpeg(fixtures::gradientPicture(80, 60));
        VixCatalogBuilder catalog;
        catalog.folder(maker.dir);
        catalog.name("photo.jpg").size(160, 120, 24).jpeg(thumb);
        catalog.name("fake.jpg").size(800, 600, 8).jpeg(thumb);
        maker.catalogPath = tmp.write("_CATALOG.VIX", catalog.bytes());
        maker.useCatalog = true;
    }
};

TEST_F(ThumbMakerCatalogTest, CatalogFirstNeverDecodesAFileItHolds) {
    maker.useCatalogFirst = true;
    const FileInfoItem photo = examine("photo.jpg");
    EXPECT_EQ(photo.info.kind, GraphicKind::gkVix);
    EXPECT_EQ(photo.info.width, 160);
    const FileInfoItem fake = examine("fake.jpg");
    EXPECT_EQ(fake.info.kind, GraphicKind::gkVix);
    EXPECT_EQ(maker.infoText(fake), "800x600 8bit byViX");
    EXPECT_EQ(maker.store.at(fake.thumbIndex).width(), 100);
    EXPECT_EQ(maker.store.at(fake.thumbIndex).height(), 75);
    EXPECT_EQ(examine("plain.jpg").info.kind, GraphicKind::gkJpeg);
}

TEST_F(ThumbMakerCatalogTest, CatalogSecondOnlyForWhatTheLoaderCannotRead) {
    maker.useCatalogFirst = false;
    const FileInfoItem photo = examine("photo.jpg");
    EXPECT_EQ(photo.info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(photo.info.width, 320);
    EXPECT_EQ(examine("fake.jpg").info.kind, GraphicKind::gkVix);
    EXPECT_EQ(examine("notes.txt").info.kind, GraphicKind::gkFile);
}

TEST_F(ThumbMakerCatalogTest, CatalogOfAnotherFolderOrSwitchedOffIsNotUsed) {
    maker.useCatalogFirst = true;
    maker.dir = tmp.path("") + "../" +
                std::filesystem::path(tmp.path("")).parent_path().filename().string() + "/";
    EXPECT_EQ(examine("fake.jpg").info.kind, GraphicKind::gkFile);
    maker.dir = tmp.path("");
    maker.useCatalog = false;
    EXPECT_EQ(examine("fake.jpg").info.kind, GraphicKind::gkFile);
    EXPECT_EQ(examine("photo.jpg").info.kind, GraphicKind::gkJpeg);
}

TEST_F(ThumbMakerTest, InfoTextOfEveryKind) {
    auto text = [&](GraphicKind kind, const std::string& name = "a.jpg") {
        FileInfoItem item;
        item.name = name;
        item.info = {640, 480, kPixelFormat24Bit, kind, LoadFailure::none, "", ""};
        return maker.infoText(item);
    };
    EXPECT_EQ(text(GraphicKind::gkNone), "");
    EXPECT_EQ(text(static_cast<GraphicKind>(10)), "");
    EXPECT_EQ(text(GraphicKind::gkSusie), "640x480 24bit bySPI");
    EXPECT_EQ(text(GraphicKind::gkSusiePreview), "(Preview) 24bit bySPI");
    EXPECT_EQ(text(GraphicKind::gkJpeg), "640x480 24bit JPEG");
    EXPECT_EQ(text(GraphicKind::gkExif), "640x480 24bit JPEG(Exif)");
    EXPECT_EQ(text(GraphicKind::gkPng), "640x480 24bit PNG");
    EXPECT_EQ(text(GraphicKind::gkPngInterlace), "640x480 24bit PNG(Interlace)");
    EXPECT_EQ(text(GraphicKind::gkBmp), "640x480 24bit BMP");
    EXPECT_EQ(text(GraphicKind::gkVix), "640x480 24bit byViX");
    EXPECT_EQ(text(GraphicKind::gkFile, "archive.tar.gz"), "GZファイル");
    EXPECT_EQ(text(GraphicKind::gkFile, "name."), "ファイル");
    EXPECT_EQ(text(GraphicKind::gkFile, "README"), "???ファイル");

    FileInfoItem custom;
    custom.name = "a";
    custom.info = {1, 1, kPixelFormatDevice, GraphicKind::gkBmp, LoadFailure::none, "", ""};
    EXPECT_EQ(maker.infoText(custom), "1x1 Device?bit BMP");
    custom.info.pixelFormat = 200;
    EXPECT_EQ(maker.infoText(custom), "1x1 Custom?bit BMP");
}

TEST_F(ThumbMakerTest, InfoTextOfLinks) {
    auto text = [&](const std::string& name) {
        FileInfoItem item;
        item.name = name;
        item.info.kind = GraphicKind::gkFile;
        return maker.infoText(item);
    };
    std::filesystem::create_symlink("/usr/share/doc/notes.txt", tmp.path("notes link"));
    EXPECT_EQ(text("notes link"), "/usr/share/doc/notes.txt");
    const std::string desktop = "[Desktop Entry]\nType=Link\nURL=file:///srv/pictures/a.png\n";
    tmp.write("a.desktop", std::vector<uint8_t>(desktop.begin(), desktop.end()));
    EXPECT_EQ(text("a.desktop"), "/srv/pictures/a.png");
    const std::string app = "[Desktop Entry]\nType=Application\nExec=true\n";
    tmp.write("app.desktop", std::vector<uint8_t>(app.begin(), app.end()));
    EXPECT_EQ(text("app.desktop"), "DESKTOPファイル");
    tmp.write("Shortcut.lnk", std::vector<uint8_t>(76, 0x4C));
    EXPECT_EQ(text("Shortcut.lnk"), "LNKファイル");
}

}  // namespace
}  // namespace ravinel
