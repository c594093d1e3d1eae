// Pictures loaded from archive members through the real modules: the formats the viewer
// shows come out of LHA, ZIP and TAR archives.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "tests/archivers/archive_writer.h"
#include "tests/archivers/integration/real_modules.h"
#include "tests/archivers/lzh_writer.h"
#include "tests/bmp_builder.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using test::WrittenKind;
using testing::RealModules;
using testing::smallBmpFile;
using testing::TempDir;

TEST(LoadFromRealArchive, JpegAndBmpMembersOfLhaZipAndTar) {
    const RealModules modules;
    TempDir dir;
    const std::vector<uint8_t> jpeg = fixtures::encodeJpeg(fixtures::gradientPicture(40, 30));
    const std::vector<uint8_t> bmp = smallBmpFile();
    const std::vector<std::string> archives = {
        dir.write("p.lzh",
                  test::lzhLevel2({{"sub/photo.jpg", jpeg, 0}, {"sub/small.bmp", bmp, 0}})),
        dir.write("p.zip", test::writeArchive(WrittenKind::Zip, {{"sub/photo.jpg", jpeg, 0},
                                                                 {"sub/small.bmp", bmp, 0}})),
        dir.write("p.tar", test::writeArchive(WrittenKind::Tar, {{"sub/photo.jpg", jpeg, 0},
                                                                 {"sub/small.bmp", bmp, 0}})),
    };
    GraphicLoader loader(nullptr);
    loader.inBmpFirst = true;
    loader.inJpgFirst = true;
    for (const std::string& path : archives) {
        SCOPED_TRACE(path);
        NkDib picture;
        GraphicLoadInfo info;
        loader.loadFromArchive(picture, path, "sub/photo.jpg", false, info);
        EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
        EXPECT_EQ(info.width, 40);
        EXPECT_EQ(info.height, 30);

        // Read by content: the member is cut to its length, so the BMP's size matches.
        loader.loadFromArchive(picture, path, "sub/small.bmp", false, info);
        EXPECT_EQ(info.kind, GraphicKind::gkBmp);
        EXPECT_EQ(info.width, 3);
        EXPECT_EQ(info.height, 2);
        EXPECT_EQ(info.pixelFormat, kPixelFormat24Bit);

        loader.loadFromArchive(picture, path, "sub/absent.bmp", false, info);
        EXPECT_EQ(info.kind, GraphicKind::gkNone);
    }
}

TEST(LoadFromRealArchive, CorruptArchiveLoadsNothing) {
    const RealModules modules;
    TempDir dir;
    std::vector<uint8_t> zip =
        test::writeArchive(WrittenKind::Zip, {{"photo.jpg", std::vector<uint8_t>(4000, 7), 0}});
    zip.resize(zip.size() / 2);
    GraphicLoader loader(nullptr);
    NkDib picture;
    GraphicLoadInfo info;
    try {
        loader.loadFromArchive(picture, dir.write("cut.zip", zip), "photo.jpg", false, info);
    } catch (const std::exception&) {
        // The archive layer may report the damage; it must not crash.
    }
    EXPECT_FALSE(info.succeeded());
}

// The member's header claims 4 GiB: it is refused from the claim, nothing that large is
// allocated and no picture results.
TEST(LoadFromRealArchive, AMemberClaimingFourGibibytesLoadsNothing) {
    const RealModules modules;
    TempDir dir;
    const std::string tar = dir.write(
        "claims.tar", test::claimFirstTarMemberSize(
                          test::writeArchive(WrittenKind::Tar, {{"huge.bmp", smallBmpFile(), 0}}),
                          uint64_t{4} << 30));
    GraphicLoader loader(nullptr);
    loader.inBmpFirst = true;
    NkDib picture;
    GraphicLoadInfo info;
    loader.loadFromArchive(picture, tar, "huge.bmp", false, info);
    EXPECT_FALSE(info.succeeded());
    EXPECT_EQ(info.kind, GraphicKind::gkNone);
}

}  // namespace
}  // namespace ravinel
