#include "browse/shell_places.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

const NameCollation& collation() {
    static const NameCollation root("");
    return root;
}

TEST(ShellPlaces, DriveTexts) {
    EXPECT_EQ(driveNodeText({"USB STICK", "/media/u/USB/"}), "USB STICK (/media/u/USB)");
    EXPECT_EQ(driveNodeText({"", "/mnt/data/"}), "/mnt/data");
    EXPECT_EQ(driveNodeText({"", "/"}), "/");
    EXPECT_EQ(driveNodeText({"root", "/"}), "root (/)");
}

TEST(ShellPlaces, BrowsableMounts) {
    EXPECT_TRUE(isBrowsableMount("/", "overlay"));  // the root of a container
    EXPECT_TRUE(isBrowsableMount("/home", "ext4"));
    EXPECT_TRUE(isBrowsableMount("/run/media/u/STICK", "vfat"));
    EXPECT_TRUE(isBrowsableMount("/tmp", "tmpfs"));
    EXPECT_TRUE(isBrowsableMount("/processing", "ext4"));  // only /proc itself is the kernel's
    EXPECT_FALSE(isBrowsableMount("/proc", "proc"));
    EXPECT_FALSE(isBrowsableMount("/sys/fs/cgroup", "cgroup2"));
    EXPECT_FALSE(isBrowsableMount("/dev/shm", "tmpfs"));
    EXPECT_FALSE(isBrowsableMount("/run/user/1000", "tmpfs"));
    EXPECT_FALSE(isBrowsableMount("/snap/core/1", "squashfs"));
    EXPECT_FALSE(isBrowsableMount("/var/lib/docker/overlay2/x/merged", "overlay"));
}

TEST(ShellPlaces, DrivesSortedOnceEachWithTrailingSlash) {
    const std::vector<DriveEntry> drives = orderedDrives(
        {{"B", "/mnt/b"}, {"", "/"}, {"A", "/mnt/a/"}, {"again", "/mnt/b/"}, {"none", ""}});
    ASSERT_EQ(drives.size(), 3u);
    EXPECT_EQ(drives[0].mountPath, "/");
    EXPECT_EQ(drives[1].mountPath, "/mnt/a/");
    EXPECT_EQ(drives[2].mountPath, "/mnt/b/");
    EXPECT_EQ(drives[2].label, "B");
}

ShellPlaces samplePlaces() {
    return {"/home/u/Desktop/", "/home/u/Documents/", {{"", "/"}, {"Data", "/mnt/data/"}}};
}

using Root = TreePathStart::Root;

TEST(ShellPlaces, PathsStartAtTheDesktopDocumentsOrTheLongestMountPath) {
    const ShellPlaces places = samplePlaces();
    TreePathStart start = startOfTreePath("/home/u/desktop/Pics/2024/", places, collation());
    EXPECT_EQ(start.root, Root::desktop);
    EXPECT_EQ(start.parts, (std::vector<std::string>{"Pics", "2024"}));

    start = startOfTreePath("/home/u/Documents/", places, collation());
    EXPECT_EQ(start.root, Root::personal);
    EXPECT_TRUE(start.parts.empty());

    start = startOfTreePath("/MNT/DATA/x/y/", places, collation());
    EXPECT_EQ(start.root, Root::drive);
    EXPECT_EQ(start.drive, 1);
    EXPECT_EQ(start.parts, (std::vector<std::string>{"x", "y"}));

    start = startOfTreePath("/mnt/database/", places, collation());  // not below /mnt/data/
    EXPECT_EQ(start.drive, 0);
    EXPECT_EQ(start.parts, (std::vector<std::string>{"mnt", "database"}));

    start = startOfTreePath("/home/u/Desktop", places, collation());  // no slash: not the folder
    EXPECT_EQ(start.root, Root::drive);
    EXPECT_EQ(start.parts, (std::vector<std::string>{"home", "u"}));
}

TEST(ShellPlaces, FileNamesAndEmptyNamesAreNoParts) {
    const TreePathStart start =
        startOfTreePath("/mnt/data//a///b/picture.jpg", samplePlaces(), collation());
    EXPECT_EQ(start.parts, (std::vector<std::string>{"a", "b"}));
}

TEST(ShellPlaces, EmptyRelativeOrUnmountedPathsStartAtTheComputer) {
    for (const std::string path : {"", "relative/folder/", "C:\\Windows\\"}) {
        const TreePathStart start = startOfTreePath(path, samplePlaces(), collation());
        EXPECT_EQ(start.root, Root::computer) << path;
        EXPECT_TRUE(start.parts.empty()) << path;
    }
    ShellPlaces noRoot = samplePlaces();
    noRoot.drives.erase(noRoot.drives.begin());
    EXPECT_EQ(startOfTreePath("/etc/", noRoot, collation()).root, Root::computer);
}

TEST(ShellPlaces, FolderNamesMatchExactlyFirstThenIgnoringCase) {
    const std::vector<std::string> names = {"", "Pics", "pics", "Other"};
    EXPECT_EQ(matchFolderName(names, "pics", collation()), 2);
    EXPECT_EQ(matchFolderName(names, "Pics", collation()), 1);
    EXPECT_EQ(matchFolderName(names, "PICS", collation()), 1);
    EXPECT_EQ(matchFolderName(names, "other", collation()), 3);
    EXPECT_EQ(matchFolderName(names, "none", collation()), -1);
}

TEST(ShellPlaces, FolderNamesSortAlphabeticallyIgnoringCase) {
    std::vector<std::string> names = {"Zeta", "beta", "Alpha", "alpha", ".hidden", "Beta"};
    sortFolderNames(names, collation());
    EXPECT_EQ(names,
              (std::vector<std::string>{".hidden", "Alpha", "alpha", "Beta", "beta", "Zeta"}));
}

}  // namespace
}  // namespace ravinel
