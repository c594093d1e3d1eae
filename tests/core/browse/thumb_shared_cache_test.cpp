#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "browse/thumb_maker.h"
#include "tests/temp_dir.h"
#include "thumb_cache/file_uri.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

class SharedCacheVisit : public ::testing::Test {
  protected:
    SharedCacheVisit() : loader(nullptr) {
        loader.doAnalyze = true;
        loader.inJpgFirst = true;
        loader.inBmpFirst = true;
    }

    // Examines the file as a fresh visit of the folder with thumbnails of this side.
    FileInfoItem visit(const std::string& name, int side, std::string* text = nullptr) {
        ThumbMaker maker(loader);
        maker.dir = tmp.path("");
        maker.imageSize = side;
        maker.sharedCache = &cache;
        FileInfoItem item;
        item.name = name;
        maker.examineFile(item);
        if (text != nullptr) {
            *text = maker.infoText(item);
            if (item.thumbIndex >= 0) {
                const NkDib& thumb = maker.store.at(item.thumbIndex);
                *text += " " + std::to_string(thumb.width()) + "x" + std::to_string(thumb.height());
            }
        }
        return item;
    }
    void setMtime(const std::string& path, time_t seconds) {
        const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    TempDir tmp;
    GraphicLoader loader;
    SharedThumbCache cache{fs::path(tmp.path("cache")), "ravinel-test"};
};

// The photo is replaced by bytes no decoder reads, its time kept: whatever still shows it
// came from the cache.
TEST_F(SharedCacheVisit, ASecondVisitTakesTheEntryUntilTheFileChanges) {
    const std::string photo =
        tmp.write("photo.jpg", fixtures::encodeJpeg(fixtures::gradientPicture(320, 240)));
    tmp.write("notes.txt", std::vector<uint8_t>(100, 'a'));
    std::string first;
    EXPECT_EQ(visit("photo.jpg", 100, &first).info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(first, "320x240 24bit JPEG 100x75");
    const auto entry = cache.find(photo, ThumbFlavour::normal);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->picture.width(), 128);
    EXPECT_EQ(entry->text.at("Thumb::Mime"), "image/jpeg");
    EXPECT_EQ(visit("notes.txt", 100).info.kind, GraphicKind::gkFile);
    EXPECT_TRUE(cache.hasFailure(tmp.path("notes.txt")));

    struct stat status {};
    ASSERT_EQ(stat(photo.c_str(), &status), 0);
    tmp.write("photo.jpg", std::vector<uint8_t>(5000, 'x'));
    setMtime(photo, status.st_mtime);
    std::string second;
    EXPECT_EQ(visit("photo.jpg", 100, &second).info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(second, first);

    // Thumbnails larger than the entry need the file.
    EXPECT_EQ(visit("photo.jpg", 200).info.kind, GraphicKind::gkFile);

    setMtime(photo, status.st_mtime + 10);
    EXPECT_EQ(visit("photo.jpg", 100).info.kind, GraphicKind::gkFile);
}

// A listing anew of unchanged files with the same choices takes the kept thumbnails; a
// changed file or another thumbnail size is made again, and the memo stays in its bound.
TEST_F(SharedCacheVisit, TheMemoKeepsThumbnailsOfUnchangedFilesWithinItsBound) {
    const std::string photo =
        tmp.write("photo.jpg", fixtures::encodeJpeg(fixtures::gradientPicture(320, 240)));
    ThumbMemo memo(100 * 75 * 3 + 300);
    bool hadThumb = false;
    const auto examine = [&](int side) {
        ThumbMaker maker(loader);
        maker.dir = tmp.path("");
        maker.imageSize = side;
        maker.memo = &memo;
        FileInfoItem item;
        item.name = "photo.jpg";
        maker.examineFile(item);
        hadThumb = item.thumbIndex >= 0;
        return item.info.kind;
    };
    EXPECT_EQ(examine(100), GraphicKind::gkJpeg);
    struct stat status {};
    ASSERT_EQ(stat(photo.c_str(), &status), 0);
    tmp.write("photo.jpg", std::vector<uint8_t>(static_cast<size_t>(status.st_size), 'x'));
    const struct timespec times[2] = {status.st_mtim, status.st_mtim};
    ASSERT_EQ(utimensat(AT_FDCWD, photo.c_str(), times, 0), 0);
    EXPECT_EQ(examine(100), GraphicKind::gkJpeg);
    EXPECT_EQ(examine(90), GraphicKind::gkFile);
    EXPECT_EQ(examine(90), GraphicKind::gkFile);
    EXPECT_FALSE(hadThumb) << "a plain file kept in the memo keeps its icon";
    EXPECT_LE(memo.bytes(), 100u * 75 * 3 + 300);
    setMtime(photo, status.st_mtime + 10);
    EXPECT_EQ(examine(100), GraphicKind::gkFile);
}

}  // namespace
}  // namespace ravinel
