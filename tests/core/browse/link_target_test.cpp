#include "browse/link_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/core/browse/dated_file.h"

namespace ravinel {
namespace {

using testing::addFile;
using testing::TempDir;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(LinkTarget, SymbolicLinks) {
    TempDir dir;
    const std::string folder = dir.path("");
    addFile(dir, "pic.jpg");
    std::filesystem::create_symlink("/absolute/pic.jpg", folder + "absolute");
    std::filesystem::create_symlink("pic.jpg", folder + "relative");
    std::filesystem::create_symlink("gone.jpg", folder + "broken");
    EXPECT_EQ(getLinkTarget(folder + "absolute"), "/absolute/pic.jpg");
    EXPECT_EQ(getLinkTarget(folder + "relative"), folder + "pic.jpg");
    EXPECT_EQ(getLinkTarget(folder + "broken"), folder + "gone.jpg");
    EXPECT_EQ(getLinkTarget(folder + "pic.jpg"), "");
    EXPECT_EQ(getLinkTarget(folder + "missing"), "");
    EXPECT_EQ(getLinkTarget(""), "");
}

TEST(LinkTarget, DesktopLinkEntries) {
    TempDir dir;
    const std::string folder = dir.path("");
    const std::string link = folder + "photos.desktop";
    writeText(link,
              "# a comment\n[Desktop Entry]\nName=Photos\nType = Link\n"
              "URL=file:///home/user/My%20Photos/a%2Bb\n\n[Other]\nURL=file:///wrong\n");
    EXPECT_EQ(getLinkTarget(link), "/home/user/My Photos/a+b");

    writeText(link, "[Desktop Entry]\r\nType=Link\r\nURL=file://localhost/srv/pics\r\n");
    EXPECT_EQ(getLinkTarget(link), "/srv/pics");

    writeText(link, "[Desktop Entry]\nType=Link\nURL=https://example.org/a%20b\n");
    EXPECT_EQ(getLinkTarget(link), "https://example.org/a%20b");

    writeText(link, "[Desktop Entry]\nType=Link\nURL=/plain\\spath\n");
    EXPECT_EQ(getLinkTarget(link), "/plain path");
}

TEST(LinkTarget, NoLinkEntries) {
    TempDir dir;
    const std::string folder = dir.path("");
    const std::string app = folder + "app.desktop";
    writeText(app, "[Desktop Entry]\nType=Application\nURL=file:///x\nExec=x\n");
    EXPECT_EQ(getLinkTarget(app), "");
    const std::string otherGroup = folder + "group.desktop";
    writeText(otherGroup, "[Other]\nType=Link\nURL=file:///x\n");
    EXPECT_EQ(getLinkTarget(otherGroup), "");
    const std::string notDesktop = folder + "link.txt";
    writeText(notDesktop, "[Desktop Entry]\nType=Link\nURL=file:///x\n");
    EXPECT_EQ(getLinkTarget(notDesktop), "");
    const std::string badEscape = folder + "bad.desktop";
    writeText(badEscape, "[Desktop Entry]\nType=Link\nURL=file:///a%zz%4\n");
    EXPECT_EQ(getLinkTarget(badEscape), "/a%zz%4");
    std::filesystem::create_directory(folder + "dir.desktop");
    EXPECT_EQ(getLinkTarget(folder + "dir.desktop"), "");
}

}  // namespace
}  // namespace ravinel
