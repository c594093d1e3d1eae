#include "browse/dir_files_info.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/dos_date_time.h"
#include "tests/core/browse/dated_file.h"

namespace ravinel {
namespace {

using testing::addFile;
using testing::TempDir;

std::set<std::string> namesOf(const FilesInfo& files) {
    std::set<std::string> names;
    for (int k = 0; k < files.count(); ++k) {
        names.insert(files.item(k).name);
    }
    return names;
}

TEST(DirFilesInfo, ListsFilesAndHiddenFilesOnly) {
    TempDir dir;
    const std::string folder = dir.path("");
    addFile(dir, "photo.jpg", 5);
    addFile(dir, ".hidden", 2);
    std::filesystem::create_directory(folder + "sub");
    std::filesystem::create_directory_symlink(folder + "sub", folder + "to-sub");
    std::filesystem::create_symlink(folder + "photo.jpg", folder + "to-photo");
    std::filesystem::create_symlink(folder + "missing", folder + "broken");
    ASSERT_EQ(mkfifo((folder + "pipe").c_str(), 0600), 0);
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder + "sock";
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::strcpy(address.sun_path, socketPath.c_str());
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(listener);

    DirFilesInfo files;
    files.setDir(folder);
    EXPECT_EQ(namesOf(files),
              (std::set<std::string>{"photo.jpg", ".hidden", "to-photo", "broken"}));
    // Positions follow the reading order; a followed link reports its target's size.
    for (int k = 0; k < files.count(); ++k) {
        const FileInfoItem& item = files.item(k);
        EXPECT_EQ(item.index, k);
        EXPECT_EQ(item.largeIcon, -1);
        EXPECT_EQ(item.thumbIndex, -1);
        EXPECT_EQ(item.info.kind, GraphicKind::gkNone);
        if (item.name == "to-photo") {
            EXPECT_EQ(item.size, 5);
        }
    }
}

TEST(DirFilesInfo, FolderWithOnlySubfoldersAndMissingFolderAreEmpty) {
    TempDir dir;
    const std::string folder = dir.path("");
    std::filesystem::create_directory(folder + "a");
    DirFilesInfo files;
    files.setDir(folder);
    EXPECT_EQ(files.count(), 0);
    files.setDir(folder + "no-such-folder/");
    EXPECT_EQ(files.dir(), folder + "no-such-folder/");
    EXPECT_EQ(files.count(), 0);
}

TEST(DirFilesInfo, DirWritesReadOnlyOnChange) {
    TempDir dir;
    const std::string folder = dir.path("");
    addFile(dir, "one");
    DirFilesInfo files;
    files.setDir(folder);
    ASSERT_EQ(files.count(), 1);
    files.item(0).thumbIndex = 7;
    addFile(dir, "two");
    files.setDir(folder);  // same folder: nothing read
    EXPECT_EQ(files.count(), 1);
    EXPECT_EQ(files.item(0).thumbIndex, 7);
    files.setDir("");
    EXPECT_EQ(files.dir(), "");
    EXPECT_EQ(files.count(), 0);
    files.setDir(folder);
    EXPECT_EQ(files.count(), 2);
    EXPECT_EQ(files.item(0).thumbIndex, -1);
}

TEST(DirFilesInfo, SizeTimeAndIconsFromTheListing) {
    struct CountingIcons : IconCache {
        std::vector<std::string> paths;
        int32_t largeIconOf(const std::string& path) override {
            paths.push_back(path);
            return 10;
        }
        int32_t smallIconOf(const std::string&) override { return 20; }
    } icons;
    TempDir dir;
    const std::string folder = dir.path("");
    // 2001-09-09 01:46:40 UTC; compared with the local packing of the same instant.
    addFile(dir, "a.bmp", 1234, 1000000000);
    DirFilesInfo files(&icons);
    files.setDir(folder);
    ASSERT_EQ(files.count(), 1);
    EXPECT_EQ(files.item(0).size, 1234);
    EXPECT_EQ(files.item(0).time, dosDateTimeOfLocalTime(1000000000));
    EXPECT_NE(files.item(0).time, 0);
    EXPECT_EQ(files.item(0).largeIcon, 10);
    EXPECT_EQ(files.item(0).smallIcon, 20);
    EXPECT_EQ(icons.paths, std::vector<std::string>{folder + "a.bmp"});
}

TEST(DirFilesInfo, IllFormedNameKeepsItsBytes) {
    TempDir dir;
    const std::string folder = dir.path("");
    const std::string name = "bad\xFF\xFEname.jpg";
    addFile(dir, name, 3);
    addFile(dir, "good.jpg", 1);
    DirFilesInfo files;
    files.setDir(folder);
    files.sort(0, NameCollation(""));
    ASSERT_EQ(files.count(), 2);
    EXPECT_EQ(files.item(0).name, name);  // "b" before "g"
    const int position = files.indexOf(name);
    ASSERT_EQ(position, 0);
    // The real bytes open the file.
    EXPECT_EQ(std::filesystem::file_size(files.dir() + files.item(position).name), 3u);
}

TEST(DirFilesInfo, AssignCopiesFolderAndItems) {
    TempDir dir;
    const std::string folder = dir.path("");
    addFile(dir, "x");
    DirFilesInfo source;
    source.setDir(folder);
    source.item(0).thumbIndex = 3;
    DirFilesInfo copy;
    copy.assign(source);
    EXPECT_EQ(copy.dir(), folder);
    ASSERT_EQ(copy.count(), 1);
    EXPECT_EQ(copy.item(0).thumbIndex, 3);
    source.item(0).thumbIndex = 4;
    EXPECT_EQ(copy.item(0).thumbIndex, 3);
}

// One folder with sizes, times and names that give each mode a different order.
class DirSortTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // name, size, modification time
        addFile(folder_, "b10.jpg", 300, 1200000000);
        addFile(folder_, "B2.jpg", 100, 1100000000);
        addFile(folder_, "a.jpg", 200, 1300000000);
        addFile(folder_, "b9.jpg", 50, 1000000000);
        files_.setDir(folder_.path(""));
    }
    std::vector<std::string> sorted(int mode) {
        files_.sort(mode, collation_);
        std::vector<std::string> names;
        for (int k = 0; k < files_.count(); ++k) {
            EXPECT_EQ(files_.item(k).index, k);
            names.push_back(files_.item(k).name);
        }
        return names;
    }

    TempDir folder_;
    DirFilesInfo files_;
    NameCollation collation_{""};
};

TEST_F(DirSortTest, EveryMode) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(sorted(0), (Names{"a.jpg", "b10.jpg", "B2.jpg", "b9.jpg"}));
    EXPECT_EQ(sorted(1), (Names{"b9.jpg", "B2.jpg", "b10.jpg", "a.jpg"}));
    EXPECT_EQ(sorted(2), (Names{"a.jpg", "b9.jpg", "b10.jpg", "B2.jpg"}));
    EXPECT_EQ(sorted(3), (Names{"B2.jpg", "b10.jpg", "b9.jpg", "a.jpg"}));
    EXPECT_EQ(sorted(4), (Names{"b9.jpg", "B2.jpg", "a.jpg", "b10.jpg"}));
    EXPECT_EQ(sorted(5), (Names{"b10.jpg", "a.jpg", "B2.jpg", "b9.jpg"}));
    EXPECT_EQ(sorted(6), (Names{"b9.jpg", "B2.jpg", "b10.jpg", "a.jpg"}));
    EXPECT_EQ(sorted(7), (Names{"a.jpg", "b10.jpg", "B2.jpg", "b9.jpg"}));
    // 8 and above keep the order and still renumber.
    const Names before = sorted(7);
    files_.item(0).index = 99;
    EXPECT_EQ(sorted(8), before);
    EXPECT_EQ(sorted(255), before);
}

}  // namespace
}  // namespace ravinel
