#include "browse/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "tests/core/browse/folder_tree_fixture.h"

namespace ravinel {
namespace {

std::vector<std::string> sortedSubfolders(const std::string& path) {
    std::vector<std::string> names = listSubfolders(path);
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FolderListing, FoldersHiddenOnesAndLinksToFoldersButNoFilesOrBrokenLinks) {
    testing::FolderTree tree;
    tree.folder("a/plain");
    tree.folder("a/.hidden");
    tree.file("a/file.txt");
    tree.link("a/toPlain", "plain");
    tree.link("a/toFile", "file.txt");
    tree.link("a/dangling", "missing");
    tree.link("a/self", "self");  // a link that loops on itself
    tree.link("a/up", "..");      // a loop through a folder: listed, opened only on demand
    EXPECT_EQ(sortedSubfolders(tree.dir("a")),
              (std::vector<std::string>{".hidden", "plain", "toPlain", "up"}));
    EXPECT_TRUE(hasSubfolders(tree.dir("a")));
}

TEST(FolderListing, HasSubfoldersCountsHiddenFoldersOnly) {
    testing::FolderTree tree;
    tree.folder("onlyHidden/.h");
    tree.folder("onlyFiles");
    tree.file("onlyFiles/x.jpg");
    tree.link("onlyFiles/dangling", "nowhere");
    tree.folder("empty");
    EXPECT_TRUE(hasSubfolders(tree.dir("onlyHidden")));
    EXPECT_FALSE(hasSubfolders(tree.dir("onlyFiles")));
    EXPECT_FALSE(hasSubfolders(tree.dir("empty")));
}

TEST(FolderListing, VanishedFoldersAndFilesHaveNoSubfolders) {
    testing::FolderTree tree;
    tree.folder("gone/inner");
    const std::string gone = tree.dir("gone");
    tree.remove("gone");
    EXPECT_FALSE(hasSubfolders(gone));
    EXPECT_TRUE(listSubfolders(gone).empty());
    tree.file("plainFile");
    EXPECT_FALSE(hasSubfolders(tree.dir("plainFile")));
    EXPECT_FALSE(hasSubfolders(""));
}

// Whether a user without rights finds no subfolders in path: the test runs in a child
// process that gives up root's rights first (root lists every folder).
bool nobodyFindsNoSubfolders(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        const bool none = (getuid() != 0 || setuid(65534) == 0) && !hasSubfolders(path) &&
                          listSubfolders(path).empty();
        _exit(none ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(FolderListing, UnreadableFoldersHaveNoSubfolders) {
    testing::FolderTree tree;
    tree.folder("locked/inner");
    tree.folder("open/inner");
    chmod(tree.dir().c_str(), 0755);
    chmod(tree.dir("locked").c_str(), 0);
    EXPECT_TRUE(nobodyFindsNoSubfolders(tree.dir("locked")));
    EXPECT_FALSE(nobodyFindsNoSubfolders(tree.dir("open")));  // the child can list at all
    chmod(tree.dir("locked").c_str(), 0755);
}

}  // namespace
}  // namespace ravinel
