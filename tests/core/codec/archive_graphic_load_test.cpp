#include <gtest/gtest.h>

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/archiver_error.h"
#include "codec/graphic_loader.h"
#include "tests/bmp_builder.h"
#include "tests/core/archive/archive_fixture.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using testing::ArchiverModuleFolder;
using testing::FakeMember;
using testing::smallBmpFile;
using testing::TempDir;
using testing::writeFakeArchive;

TEST(LoadFromArchive, BmpAndJpegMembersByContent) {
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    const std::string lzh =
        writeFakeArchive(dir, "pics.lzh",
                         {{"sub/small.bmp", smallBmpFile()},
                          {"photo.jpg", fixtures::encodeJpeg(fixtures::gradientPicture(40, 30))},
                          {"tiny", {'B', 'M', 0}}});
    GraphicLoader loader(nullptr);
    NkDib picture;
    GraphicLoadInfo info;

    // The member is cut to its length, so the BMP's size field matches and it is read.
    loader.loadFromArchive(picture, lzh, "sub/small.bmp", false, info);
    EXPECT_EQ(info.kind, GraphicKind::gkBmp);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.height, 2);
    EXPECT_EQ(info.pixelFormat, kPixelFormat24Bit);

    loader.loadFromArchive(picture, lzh, "photo.jpg", false, info);
    EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.height, 30);

    // Too short to analyse, and a member that is not there: nothing loaded, no throw.
    loader.loadFromArchive(picture, lzh, "tiny", false, info);
    EXPECT_FALSE(info.succeeded());
    loader.loadFromArchive(picture, lzh, "absent.bmp", false, info);
    EXPECT_FALSE(info.succeeded());
}

// Takes no picture and remembers the names the loader handed over.
class NameRecordingHost : public SpiHost {
  public:
    int pluginCount() const override { return 1; }
    void setGraphicPreview(bool) override {}
    void setDecodeLimits(const DecodeLimits&) override {}
    PictureMetadata loadFile(NkDib&, const std::string&) override {
        throw std::runtime_error("no");
    }
    PictureMetadata loadFromStreamWithName(NkDib&, std::span<const uint8_t> data,
                                           const std::string& name) override {
        names.push_back(name + " " + std::to_string(data.size()));
        throw std::runtime_error("no plug-in takes it");
    }
    std::vector<std::string> names;
};

TEST(LoadFromArchive, PluginsSeeTheBareNameAndTheMemberLength) {
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    const std::vector<uint8_t> bytes(20, 'x');
    const std::string lzh =
        writeFakeArchive(dir, "a.lzh", {{"d/e\\f.pic", bytes}, {"top.pic", bytes}});
    NameRecordingHost host;
    GraphicLoader loader(&host);
    NkDib picture;
    GraphicLoadInfo info;
    loader.loadFromArchive(picture, lzh, "d/e\\f.pic", false, info);
    loader.loadFromArchive(picture, lzh, "top.pic", false, info);
    EXPECT_FALSE(info.succeeded());
    EXPECT_EQ(host.names, (std::vector<std::string>{"f.pic 20", "top.pic 20"}));
}

TEST(LoadFromArchive, ArchiveFailuresReachTheCaller) {
    TempDir dir;
    const ArchiverModuleFolder folder(dir.path(""));
    GraphicLoader loader(nullptr);
    NkDib picture;
    GraphicLoadInfo info;
    EXPECT_THROW(loader.loadFromArchive(picture, dir.path("a.lzh"), "x.bmp", false, info),
                 NoArchiverDllError);
    EXPECT_THROW(loader.loadFromArchive(picture, dir.path("a.7z"), "x.bmp", false, info),
                 ArchiverError);
}

}  // namespace
}  // namespace ravinel
