#include "browse/link_target.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/browse/temp_folder.h"

namespace ravinel {
namespace {

using test::TempFolder;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(LinkTarget, SymbolicLinks) {
    TempFolder folder;
    folder.addFile("pic.jpg");
    std::filesystem::create_symlink("/absolute/pic.jpg", folder.path() + "absolute");
    std::filesystem::create_symlink("pic.jpg", folder.path() + "relative");
    std::filesystem::create_symlink("gone.jpg", folder.path() + "broken");
    EXPECT_EQ(getLinkTarget(folder.path() + "absolute"), "/absolute/pic.jpg");
    EXPECT_EQ(getLinkTarget(folder.path() + "relative"), folder.path() + "pic.jpg");
    EXPECT_EQ(getLinkTarget(folder.path() + "broken"), folder.path() + "gone.jpg");
    EXPECT_EQ(getLinkTarget(folder.path() + "pic.jpg"), "");
    EXPECT_EQ(getLinkTarget(folder.path() + "missing"), "");
    EXPECT_EQ(getLinkTarget(""), "");
}

TEST(LinkTarget, DesktopLinkEntries) {
    TempFolder folder;
    const std::string link = folder.path() + "photos.desktop";
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
    TempFolder folder;
    const std::string app = folder.path() + "app.desktop";
    writeText(app, "[Desktop Entry]\nType=Application\nURL=file:///x\nExec=x\n");
    EXPECT_EQ(getLinkTarget(app), "");
    const std::string otherGroup = folder.path() + "group.desktop";
    writeText(otherGroup, "[Other]\nType=Link\nURL=file:///x\n");
    EXPECT_EQ(getLinkTarget(otherGroup), "");
    const std::string notDesktop = folder.path() + "link.txt";
    writeText(notDesktop, "[Desktop Entry]\nType=Link\nURL=file:///x\n");
    EXPECT_EQ(getLinkTarget(notDesktop), "");
    const std::string badEscape = folder.path() + "bad.desktop";
    writeText(badEscape, "[Desktop Entry]\nType=Link\nURL=file:///a%zz%4\n");
    EXPECT_EQ(getLinkTarget(badEscape), "/a%zz%4");
    std::filesystem::create_directory(folder.path() + "dir.desktop");
    EXPECT_EQ(getLinkTarget(folder.path() + "dir.desktop"), "");
}

}  // namespace
}  // namespace ravinel
