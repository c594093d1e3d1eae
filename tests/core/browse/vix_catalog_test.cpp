#include "browse/vix_catalog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/core/browse/vix_catalog_builder.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using testing::TempDir;
using testing::VixCatalogBuilder;

// The folder path with its trailing "/".
std::string folderOf(const TempDir& tmp) {
    return tmp.path("");
}

const std::vector<uint8_t>& smallJpeg() {
    static const std::vector<uint8_t> jpeg =
        fixtures::encodeJpeg(fixtures::gradientPicture(40, 30), {.quality = 90});
    return jpeg;
}

struct CatalogRead {
    GraphicLoadInfo info;
    NkDib target;
};

CatalogRead readThumb(const std::string& catalog, const std::string& name) {
    CatalogRead read;
    readCatalogThumb(catalog, name, read.target, read.info);
    return read;
}

TEST(VixCatalogMatches, ComparesTheFolderRecordExactly) {
    TempDir tmp;
    const std::string dir = "/home/user/Pictures/";
    auto matches = [&](const VixCatalogBuilder& catalog, const std::string& folder) {
        return catalogMatches(folder, tmp.write("c.vix", catalog.bytes()));
    };
    EXPECT_TRUE(matches(VixCatalogBuilder().folder(dir), dir));
    EXPECT_TRUE(matches(
        VixCatalogBuilder().record(0x0007, std::vector<uint8_t>{1, 2, 3}).folder(dir), dir));
    EXPECT_FALSE(matches(VixCatalogBuilder().folder("/home/user/pictures/"), dir));
    EXPECT_FALSE(matches(VixCatalogBuilder().folder("/home/user/Pictures"), dir));
    EXPECT_FALSE(matches(VixCatalogBuilder().folder(dir + "sub/"), dir));
    // A marker before the folder record ends the search.
    EXPECT_FALSE(matches(VixCatalogBuilder().marker(0x0001).folder(dir), dir));
    EXPECT_FALSE(matches(VixCatalogBuilder().name("a.jpg"), dir));
}

TEST(VixCatalogMatches, RejectsLongOrUnterminatedPaths) {
    TempDir tmp;
    const std::string longest = "/" + std::string(258, 'p') + "/";  // 260 bytes, NUL makes 261
    EXPECT_TRUE(
        catalogMatches(longest, tmp.write("a.vix", VixCatalogBuilder().folder(longest).bytes())));
    const std::string tooLong = "/" + std::string(259, 'p') + "/";
    EXPECT_FALSE(
        catalogMatches(tooLong, tmp.write("b.vix", VixCatalogBuilder().folder(tooLong).bytes())));
    const std::string dir = "/pics/";
    const std::vector<uint8_t> unterminated(dir.begin(), dir.end());
    EXPECT_FALSE(catalogMatches(
        dir, tmp.write("c.vix", VixCatalogBuilder().record(0xFF02, unterminated).bytes())));
    // Padding after the NUL is allowed while the payload fits the text area.
    std::vector<uint8_t> padded(unterminated);
    padded.resize(200, 0);
    EXPECT_TRUE(catalogMatches(
        dir, tmp.write("d.vix", VixCatalogBuilder().record(0xFF02, padded).bytes())));
}

TEST(VixCatalogMatches, BadFilesAreNoMatch) {
    TempDir tmp;
    const std::string dir = "/pics/";
    std::vector<uint8_t> bytes = VixCatalogBuilder().folder(dir).bytes();
    bytes[3] = 'X';
    EXPECT_FALSE(catalogMatches(dir, tmp.write("sig.vix", bytes)));
    bytes = VixCatalogBuilder().folder(dir).bytes();
    bytes[5] = 0x00;
    EXPECT_FALSE(catalogMatches(dir, tmp.write("mark.vix", bytes)));
    EXPECT_FALSE(catalogMatches(dir, tmp.path("missing.vix")));
    std::filesystem::create_directory(tmp.path("folder.VIX"));
    EXPECT_FALSE(catalogMatches(dir, tmp.path("folder.VIX")));
    // A FIFO nobody writes is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo(tmp.path("fifo.vix").c_str(), 0600), 0);
    EXPECT_FALSE(catalogMatches(dir, tmp.path("fifo.vix")));
    // Lengths that run past the end, or a folder record cut short.
    const std::vector<uint8_t> path(dir.begin(), dir.end());
    EXPECT_FALSE(catalogMatches(
        dir, tmp.write("far.vix", VixCatalogBuilder().record(0x0007, 0xFFFFFFFF, path).bytes())));
    EXPECT_FALSE(catalogMatches(
        dir, tmp.write("cut.vix", VixCatalogBuilder().record(0xFF02, 100, path).bytes())));
}

// A catalog of two entries; the second has the thumbnail asked for in most tests.
VixCatalogBuilder twoEntries(const std::vector<uint8_t>& jpeg = smallJpeg()) {
    VixCatalogBuilder catalog;
    catalog.folder("/pics/").marker(0xFF01);
    catalog.name("first.jpg").size(640, 480, 24).jpeg(jpeg);
    catalog.name("second.jpg").marker(0x0001).size(160, 120, 24).jpeg(jpeg);
    return catalog;
}

TEST(VixCatalogThumb, ReadsTheEntryOfTheName) {
    TempDir tmp;
    const std::string catalog = tmp.write("c.vix", twoEntries().bytes());
    const CatalogRead read = readThumb(catalog, "second.jpg");
    EXPECT_EQ(read.info.kind, GraphicKind::gkVix);
    EXPECT_EQ(read.info.width, 160);
    EXPECT_EQ(read.info.height, 120);
    EXPECT_EQ(read.info.pixelFormat, kPixelFormat24Bit);
    EXPECT_EQ(read.target.width(), 40);
    EXPECT_EQ(read.target.height(), 30);
    EXPECT_EQ(readThumb(catalog, "first.jpg").info.width, 640);
    EXPECT_EQ(readThumb(catalog, "Second.jpg").info.kind, GraphicKind::gkNone);
    EXPECT_EQ(readThumb(catalog, "third.jpg").info.kind, GraphicKind::gkNone);
}

TEST(VixCatalogThumb, EntryShapes) {
    TempDir tmp;
    // Thumbnail before the size: a picture, but of unknown size.
    VixCatalogBuilder early;
    early.folder("/pics/").name("a.jpg").jpeg(smallJpeg()).size(160, 120, 24);
    const CatalogRead read = readThumb(tmp.write("early.vix", early.bytes()), "a.jpg");
    EXPECT_EQ(read.info.kind, GraphicKind::gkVix);
    EXPECT_EQ(read.info.width, 0);
    // An entry without thumbnail stops at the next entry.
    VixCatalogBuilder none;
    none.folder("/pics/")
        .name("a.jpg")
        .size(160, 120, 24)
        .name("b.jpg")
        .size(1, 1, 24)
        .jpeg(smallJpeg());
    EXPECT_EQ(readThumb(tmp.write("none.vix", none.bytes()), "a.jpg").info.kind,
              GraphicKind::gkNone);
    // Only the low 16 bits of the sizes count.
    VixCatalogBuilder wide;
    wide.folder("/pics/").name("a.jpg").size(0x10000 + 7, 0x20000 + 9, 8).jpeg(smallJpeg());
    const GraphicLoadInfo info = readThumb(tmp.write("wide.vix", wide.bytes()), "a.jpg").info;
    EXPECT_EQ(info.width, 7);
    EXPECT_EQ(info.height, 9);
}

TEST(VixCatalogThumb, BitsPerPixelBecomeFrameworkPixelFormats) {
    TempDir tmp;
    const std::vector<std::pair<uint32_t, uint8_t>> table = {
        {1, 1}, {4, 2}, {8, 3}, {15, 4}, {16, 5}, {24, 6}, {32, 7}, {2, 8}, {0, 8}};
    for (const auto& [bits, format] : table) {
        VixCatalogBuilder catalog;
        catalog.folder("/pics/").name("a").size(10, 10, bits).jpeg(smallJpeg());
        EXPECT_EQ(readThumb(tmp.write("c.vix", catalog.bytes()), "a").info.pixelFormat, format)
            << bits;
    }
}

TEST(VixCatalogThumb, UndecodableThumbnailIsNotInTheCatalog) {
    TempDir tmp;
    VixCatalogBuilder catalog;
    catalog.folder("/pics/").name("a.jpg").size(160, 120, 24).jpeg(std::vector<uint8_t>(64, 0x5A));
    CatalogRead read;
    read.target.setWidth(3);
    read.info.kind = GraphicKind::gkJpeg;
    readCatalogThumb(tmp.write("c.vix", catalog.bytes()), "a.jpg", read.target, read.info);
    EXPECT_EQ(read.info.kind, GraphicKind::gkNone);
    EXPECT_EQ(read.target.width(), 3);
}

TEST(VixCatalogThumb, ThumbnailLengthIsNotNeeded) {
    TempDir tmp;
    // A zero or oversized length: the JPEG runs from the payload to the end of the file.
    for (uint32_t length : {0u, 0xFFFFFFF0u}) {
        VixCatalogBuilder catalog;
        catalog.folder("/pics/")
            .name("a.jpg")
            .size(160, 120, 24)
            .record(0x000D, length, smallJpeg());
        EXPECT_EQ(readThumb(tmp.write("c.vix", catalog.bytes()), "a.jpg").info.kind,
                  GraphicKind::gkVix);
    }
}

TEST(VixCatalogThumb, ScansEndAtTheEndOfTheFile) {
    TempDir tmp;
    const std::vector<uint8_t> empty;
    // Zero-length records up to the end, and a last record whose length runs past it.
    VixCatalogBuilder zeros;
    zeros.folder("/pics/");
    for (int i = 0; i < 50; ++i) {
        zeros.record(0x0005, empty);
    }
    zeros.record(0x0003, empty);
    const std::string zeroCatalog = tmp.write("zeros.vix", zeros.bytes());
    EXPECT_EQ(readThumb(zeroCatalog, "").info.kind, GraphicKind::gkNone);
    EXPECT_TRUE(catalogMatches("/pics/", zeroCatalog));
    VixCatalogBuilder far;
    far.folder("/pics/").name("a.jpg").record(0x0007, 0xFFFFFFFF, empty);
    EXPECT_EQ(readThumb(tmp.write("far.vix", far.bytes()), "a.jpg").info.kind, GraphicKind::gkNone);
    // One odd byte after the last record is no tag.
    VixCatalogBuilder odd;
    odd.folder("/pics/").name("a.jpg");
    std::vector<uint8_t> bytes = odd.bytes();
    bytes.push_back(0x0D);
    EXPECT_EQ(readThumb(tmp.write("odd.vix", bytes), "a.jpg").info.kind, GraphicKind::gkNone);
}

TEST(VixCatalogThumb, EveryTruncationIsHandled) {
    TempDir tmp;
    const std::vector<uint8_t> tiny = fixtures::encodeJpeg(fixtures::gradientPicture(8, 8));
    const std::vector<uint8_t> whole = twoEntries(tiny).bytes();
    const size_t thumbnailStart = whole.size() - tiny.size();
    const size_t folderEnd = 6 + 6 + std::string("/pics/").size() + 1;
    for (size_t length = 0; length <= whole.size(); ++length) {
        const std::string catalog =
            tmp.write("cut.vix", std::vector<uint8_t>(whole.begin(), whole.begin() + length));
        EXPECT_EQ(catalogMatches("/pics/", catalog), length >= folderEnd) << length;
        const GraphicKind kind = readThumb(catalog, "second.jpg").info.kind;
        if (length <= thumbnailStart) {
            EXPECT_EQ(kind, GraphicKind::gkNone) << length;
        }
        if (length == whole.size()) {
            EXPECT_EQ(kind, GraphicKind::gkVix);
        }
    }
}

TEST(VixCatalogFind, FolderCatalogFirstThenHomeCatalogs) {
    TempDir pics;
    TempDir home;
    const std::string dir = folderOf(pics);
    const std::string homeDir = folderOf(home);
    home.write("other.VIX", VixCatalogBuilder().folder("/elsewhere/").bytes());
    EXPECT_EQ(findCatalog(dir, homeDir), "");
    home.write("notes.txt", VixCatalogBuilder().folder(dir).bytes());
    std::filesystem::create_directory(home.path("dir.vix"));
    EXPECT_EQ(findCatalog(dir, homeDir), "");
    const std::string mine = home.write("mine.vix", VixCatalogBuilder().folder(dir).bytes());
    EXPECT_EQ(findCatalog(dir, homeDir), mine);
    // Without the trailing "/" the home folder is still searched.
    EXPECT_EQ(findCatalog(dir, homeDir.substr(0, homeDir.size() - 1)), mine);
    EXPECT_EQ(findCatalog(dir, ""), "");
    EXPECT_EQ(findCatalog("", homeDir), "");
    // The folder's own catalog wins even when it records another folder.
    const std::string own =
        pics.write("_catalog.vix", VixCatalogBuilder().folder("/moved/").bytes());
    EXPECT_EQ(findCatalog(dir, homeDir), own);
    const std::string exact = pics.write("_CATALOG.VIX", VixCatalogBuilder().bytes());
    EXPECT_EQ(findCatalog(dir, homeDir), exact);
}

// A home folder of 65,001 catalogs: the search reads the first 65,000 in listing order
// and stops, so a full home folder costs bounded time.
TEST(VixCatalogFind, AHomeFolderIsSearchedUpToItsFirst65000Catalogs) {
    TempDir pics;
    TempDir home;
    const std::string dir = folderOf(pics);
    const std::vector<uint8_t> other = VixCatalogBuilder().folder("/elsewhere/").bytes();
    for (int i = 0; i < 65001; ++i) {
        home.write("c" + std::to_string(i) + ".vix", other);
    }
    std::vector<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(folderOf(home))) {
        listed.push_back(entry.path().string());
    }
    ASSERT_EQ(listed.size(), 65001u);
    const std::vector<uint8_t> mine = VixCatalogBuilder().folder(dir).bytes();

    home.write(std::filesystem::path(listed[65000]).filename().string(), mine);
    EXPECT_EQ(findCatalog(dir, folderOf(home)), "") << "the last one is past the limit";

    home.write(std::filesystem::path(listed[64999]).filename().string(), mine);
    EXPECT_EQ(findCatalog(dir, folderOf(home)), listed[64999]);
}

}  // namespace
}  // namespace ravinel
