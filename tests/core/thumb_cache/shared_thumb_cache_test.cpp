#include "thumb_cache/shared_thumb_cache.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/core/dib/dib_test_pictures.h"
#include "tests/temp_dir.h"
#include "thumb_cache/file_uri.h"
#include "thumb_cache/thumb_cache_error.h"
#include "thumb_cache/thumb_png.h"

namespace ravinel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

NkDib pattern(int width, int height) {
    return testing::trueColor(width, height, [](int x, int y) {
        return static_cast<uint32_t>(x * 0x010307 + y * 0x0D0B05) & 0xFFFFFF;
    });
}

bool samePixels(const NkDib& a, const NkDib& b) {
    if (a.width() != b.width() || a.height() != b.height() || a.bitCount() != b.bitCount()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        if (!std::equal(a.constScanLine(y), a.constScanLine(y) + a.width() * 3,
                        b.constScanLine(y))) {
            return false;
        }
    }
    return true;
}

void setMtime(const std::string& path, time_t seconds) {
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

std::vector<uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, std::span<const uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

struct CacheFixture : ::testing::Test {
    TempDir dir;
    fs::path root = fs::path(dir.path("cache")) / "thumbnails";
    SharedThumbCache cache{root, "ravinel-test"};
    std::string photo = dir.write("photo one.jpg", std::vector<uint8_t>{1, 2, 3});

    fs::path entryOf(const std::string& path, const char* folder = "normal") const {
        return root / folder / thumbnailFileName(fileUri(path));
    }
};

TEST(FileUriTest, EscapesWhatDesktopProgramsEscapeAndHashesTheName) {
    const struct {
        const char* path;
        const char* uri;
    } cases[] = {
        {"/home/jens/photos/me.png", "file:///home/jens/photos/me.png"},
        {"/a b/c%d#e?f;g", "file:///a%20b/c%25d%23e%3Ff%3Bg"},
        {"/keep/-_.!~*'()/:@&=+$,", "file:///keep/-_.!~*'()/:@&=+$,"},
        {"/\xe5\x86\x99/[x]\x7f\x01", "file:///%E5%86%99/%5Bx%5D%7F%01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileUri(c.path), c.uri) << c.path;
    }
    EXPECT_EQ(thumbnailFileName("file:///home/jens/photos/me.png"),
              "c6ee772d9e49320e97ec29a7eb5b1697.png");
}

TEST_F(CacheFixture, AnEntryComesBackOnlyWhileItsFileIsUnchanged) {
    const NkDib picture = pattern(128, 77);
    cache.store(photo, ThumbFlavour::normal, picture, {"image/jpeg", 1000, 600, {}});

    const auto found = cache.find(photo, ThumbFlavour::normal);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(samePixels(found->picture, picture));
    EXPECT_EQ(found->imageWidth, 1000u);
    EXPECT_EQ(found->imageHeight, 600u);
    EXPECT_EQ(found->text.at("Thumb::Mime"), "image/jpeg");
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::large).has_value());

    struct stat status {};
    ASSERT_EQ(stat(entryOf(photo).c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    for (const fs::path& folder : {root, root / "normal"}) {
        ASSERT_EQ(stat(folder.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0700u) << folder;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(root / "normal"), fs::directory_iterator()), 1);

    // Another file's entry under this file's name, and a file changed since, are stale.
    const std::string other = dir.write("other.jpg", std::vector<uint8_t>{4});
    fs::copy_file(entryOf(photo), entryOf(other));
    EXPECT_FALSE(cache.find(other, ThumbFlavour::normal).has_value());
    struct stat photoStatus {};
    ASSERT_EQ(stat(photo.c_str(), &photoStatus), 0);
    setMtime(photo, photoStatus.st_mtime + 1);
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::normal).has_value());
    EXPECT_THROW(cache.store(photo, ThumbFlavour::normal, pattern(129, 10), {}), ThumbCacheError);
}

TEST_F(CacheFixture, DamagedOrOversizedEntriesAreIgnored) {
    cache.store(photo, ThumbFlavour::large, pattern(200, 150), {});
    const std::vector<uint8_t> good = bytesOf(entryOf(photo, "large"));
    ASSERT_TRUE(cache.find(photo, ThumbFlavour::large).has_value());

    std::vector<std::vector<uint8_t>> damaged;
    for (const size_t length :
         {size_t{0}, size_t{7}, size_t{40}, good.size() / 2, good.size() - 1}) {
        damaged.emplace_back(good.begin(), good.begin() + static_cast<ptrdiff_t>(length));
    }
    for (const size_t at : {size_t{20}, size_t{60}, good.size() / 2, good.size() - 20}) {
        damaged.push_back(good);
        damaged.back()[at] ^= 0x5A;
    }
    for (size_t i = 0; i < damaged.size(); ++i) {
        writeBytes(entryOf(photo, "large"), damaged[i]);
        EXPECT_FALSE(cache.find(photo, ThumbFlavour::large).has_value()) << "case " << i;
    }

    // A picture larger than the folder's size, with the right keys, is not taken either.
    struct stat status {};
    ASSERT_EQ(stat(photo.c_str(), &status), 0);
    writeBytes(
        entryOf(photo, "normal"),
        encodeThumbPng(pattern(300, 20), {{"Thumb::URI", fileUri(photo)},
                                          {"Thumb::MTime", std::to_string(status.st_mtime)}}));
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::normal).has_value());
}

TEST_F(CacheFixture, LinksAndFoldersOpenToOthersAreRefused) {
    cache.store(photo, ThumbFlavour::normal, pattern(64, 64), {});
    const fs::path entry = entryOf(photo);

    // A link planted at the entry's name is read as nothing and replaced, never written
    // through.
    const std::vector<uint8_t> outsideBytes = bytesOf(entry);
    const std::string outside = dir.write("outside.png", outsideBytes);
    fs::remove(entry);
    fs::create_symlink(outside, entry);
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::normal).has_value());
    cache.store(photo, ThumbFlavour::normal, pattern(32, 32), {});
    EXPECT_FALSE(fs::is_symlink(entry));
    EXPECT_EQ(bytesOf(outside), outsideBytes);
    ASSERT_TRUE(cache.find(photo, ThumbFlavour::normal).has_value());
    EXPECT_EQ(cache.find(photo, ThumbFlavour::normal)->picture.width(), 32);

    // A folder others may write holds entries anyone could have made.
    fs::permissions(root / "normal", fs::perms::all);
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::normal).has_value());
    EXPECT_THROW(cache.store(photo, ThumbFlavour::normal, pattern(8, 8), {}), ThumbCacheError);

    // A folder replaced by a link is not entered.
    const fs::path elsewhere = dir.path("elsewhere");
    fs::create_directory(elsewhere);
    fs::permissions(elsewhere, fs::perms::owner_all, fs::perm_options::replace);
    fs::create_directory_symlink(elsewhere, root / "large");
    EXPECT_THROW(cache.store(photo, ThumbFlavour::large, pattern(8, 8), {}), ThumbCacheError);
    EXPECT_TRUE(fs::is_empty(elsewhere));
}

TEST_F(CacheFixture, FailureRecordsFollowTheFile) {
    EXPECT_FALSE(cache.hasFailure(photo));
    cache.storeFailure(photo);
    EXPECT_TRUE(cache.hasFailure(photo));
    EXPECT_TRUE(
        fs::is_regular_file(root / "fail" / "ravinel-test" / thumbnailFileName(fileUri(photo))));
    EXPECT_FALSE(cache.find(photo, ThumbFlavour::normal).has_value());
    struct stat status {};
    ASSERT_EQ(stat(photo.c_str(), &status), 0);
    setMtime(photo, status.st_mtime + 5);
    EXPECT_FALSE(cache.hasFailure(photo));
}

}  // namespace
}  // namespace ravinel
