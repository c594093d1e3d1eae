#include "settings/vr_ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/atomic_file_write.h"
#include "settings/settings.h"
#include "tests/temp_folder.h"

namespace ravinel {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

// An INI object over a file holding one section "S" with the given key lines.
VrIniFile iniWith(const TempFolder& folder, const std::string& lines) {
    const std::string path = folder.file("t.ini");
    writeText(path, "[S]\n" + lines);
    VrIniFile ini(path);
    ini.setSection("S");
    return ini;
}

TEST(VrIniFile, IntegerTexts) {
    TempFolder folder;
    const VrIniFile ini = iniWith(folder,
                                  "a=-42\nb=+7\nc=$1F\nd=0x1f\ne=0X10\nf=$FFFFFFFF\n"
                                  "g=-$10\nh=2147483647\ni=-2147483648\nj=2147483648\n"
                                  "k=$100000000\nl=0x\nm=12 3\nn=--1\no=$-1\np=0b1\n");
    const int32_t d = 99;
    EXPECT_EQ(ini.readInteger("a", d), -42);
    EXPECT_EQ(ini.readInteger("b", d), 7);
    EXPECT_EQ(ini.readInteger("c", d), 31);
    EXPECT_EQ(ini.readInteger("d", d), 31);
    EXPECT_EQ(ini.readInteger("e", d), 16);
    EXPECT_EQ(ini.readInteger("f", d), -1);
    EXPECT_EQ(ini.readInteger("g", d), -16);
    EXPECT_EQ(ini.readInteger("h", d), 2147483647);
    EXPECT_EQ(ini.readInteger("i", d), -2147483647 - 1);
    for (const char* bad : {"j", "k", "l", "m", "n", "o", "p", "missing"}) {
        EXPECT_EQ(ini.readInteger(bad, d), d) << bad;
    }
}

TEST(VrIniFile, FloatTexts) {
    TempFolder folder;
    VrIniFile ini = iniWith(folder,
                            "a=0.75\nb=0,75\nc=-1.5e2\nd=+2\ne=\nf=abc\ng=inf\nh=nan\n"
                            "i=1e999\nj=1,2,3\nk=--1\n");
    EXPECT_DOUBLE_EQ(ini.readFloat("a", 1), 0.75);
    EXPECT_DOUBLE_EQ(ini.readFloat("b", 1), 0.75);
    EXPECT_DOUBLE_EQ(ini.readFloat("c", 1), -150);
    EXPECT_DOUBLE_EQ(ini.readFloat("d", 1), 2);
    for (const char* bad : {"e", "f", "g", "h", "i", "j", "k"}) {
        EXPECT_DOUBLE_EQ(ini.readFloat(bad, 1), 1) << bad;
    }
    const std::pair<double, const char*> written[] = {
        {1, "1"}, {0.1, "0.1"}, {1.0 / 3, "0.333333333333333"}, {-2.5, "-2.5"}, {1e20, "1e+20"}};
    for (const auto& [value, text] : written) {
        ini.writeFloat("w", value);
        EXPECT_EQ(ini.readString("w", ""), text);
    }
}

TEST(VrIniFile, ColoursAreWrittenByNameOrAsEightDigits) {
    TempFolder folder;
    VrIniFile ini = iniWith(folder, "");
    ini.writeColor("a", 0x8000000F);
    ini.writeColor("b", 0x00ABCDEF);
    ini.writeColor("c", 0x20000000);
    ini.writeColor("d", 0x80000099);
    EXPECT_EQ(ini.readString("a", ""), "clBtnFace");
    EXPECT_EQ(ini.readString("b", ""), "$00ABCDEF");
    EXPECT_EQ(ini.readString("c", ""), "clDefault");
    EXPECT_EQ(ini.readString("d", ""), "$80000099");
    EXPECT_EQ(ini.readColor("b", 0), 0x00ABCDEFu);
    EXPECT_EQ(ini.readColor("d", 0), 0x80000099u);
    ini.writeString("e", "$20000000");  // clDefault by number has bit 29 set
    ini.writeString("f", "$123456789");
    ini.writeString("g", "0x10");
    EXPECT_EQ(ini.readColor("e", 7), 7u);
    EXPECT_EQ(ini.readColor("f", 7), 7u);
    EXPECT_EQ(ini.readColor("g", 7), 7u);
    EXPECT_EQ(ini.readColor("missing", 7), 7u);
}

TEST(VrIniFile, WritingReplacesInPlaceAndClearEmptiesEverything) {
    TempFolder folder;
    const std::string path = folder.file("w.ini");
    VrIniFile ini(path);
    ini.setSection("One");
    ini.writeInteger("A", 1);
    ini.writeRect("Win", Rect{1, 2, 3, 4});
    ini.setSection("Two");
    ini.writeBool("B", true);
    ini.setSection("ONE");
    ini.writeInteger("a", 5);  // same key, other case: replaced where it stands
    ini.updateFile();
    EXPECT_EQ(readText(path),
              "[One]\nA=5\nWinLeft=1\nWinTop=2\nWinRight=3\nWinBottom=4\n\n[Two]\nB=1\n\n");
    EXPECT_EQ(VrIniFile(path).readRect("Win", Rect{}), Rect{});  // no section chosen
    ini.setSection("one");
    EXPECT_EQ(ini.readRect("win", Rect{}), (Rect{1, 2, 3, 4}));
    ini.clear();
    EXPECT_EQ(ini.readInteger("A", -1), -1);
    ini.updateFile();
    EXPECT_EQ(readText(path), "");
}

TEST(VrIniFile, NonRegularAndMissingFilesAreEmpty) {
    TempFolder folder;
    for (const std::string& path :
         {folder.file("missing.ini"), folder.path().string(), std::string("/dev/null")}) {
        VrIniFile ini(path);
        ini.setSection("ViewConf");
        EXPECT_EQ(ini.readInteger("ReductMode", 9), 9) << path;
    }
}

TEST(VrIniFile, HugeFileIsReadWithinItsLimit) {
    TempFolder folder;
    const std::string path = folder.file("huge.ini");
    // Many distinct junk keys beyond the stored limit, then one more key.
    std::string text = "[ViewConf]\nColorMode=3\n";
    const std::string filler(1000, 'v');
    for (size_t i = 0; text.size() < VrIniFile::kMaxStoredBytes + 1024 * 1024; ++i) {
        text += "k" + std::to_string(i) + "=" + filler + "\n";
    }
    text += "ExpandMode=1\n";
    writeText(path, text);
    const Settings s = loadSettings(path);
    EXPECT_EQ(s.viewConf.colorMode, ColorMode::palette4);
    EXPECT_EQ(s.viewConf.expandMode, ResizeMethod::area);  // past the limit: not kept
}

TEST(VrIniFile, SaveLeavesNoTemporaryFileAndFollowsLinks) {
    TempFolder folder;
    const std::string target = folder.file("real.ini");
    const std::string link = folder.file("link.ini");
    writeText(target, "[OptionForm]\nSelectPage=1\n");
    std::filesystem::permissions(target, std::filesystem::perms(0600));
    std::filesystem::create_symlink(target, link);
    Settings s = loadSettings(link);
    EXPECT_EQ(s.selectPage, 1);
    s.selectPage = 4;
    saveSettings(s, link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(loadSettings(target).selectPage, 4);
    EXPECT_EQ(std::filesystem::status(target).permissions(), std::filesystem::perms(0600));
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++files;
    }
    EXPECT_EQ(files, 2u);
}

// The temporary file's name is longer than the target's: a target name of the longest
// length lets the temporary file fail on any machine, also for root.
TEST(VrIniFile, FailedSaveThrowsAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file(std::string(250, 'n') + ".ini");
    const std::string old = "[OptionForm]\nSelectPage=1\n";
    writeText(path, old);
    Settings s;
    EXPECT_THROW(saveSettings(s, path), FileWriteError);
    EXPECT_EQ(readText(path), old);
}

TEST(VrIniFile, SaveIntoReadOnlyFolderThrowsAndKeepsTheOldFile) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    TempFolder folder;
    const std::string old = "[OptionForm]\nSelectPage=1\n";
    Settings s;
    const std::string inReadOnly = folder.file("ravinel.ini");
    writeText(inReadOnly, old);
    std::filesystem::permissions(folder.path(), std::filesystem::perms(0500));
    EXPECT_THROW(saveSettings(s, inReadOnly), FileWriteError);
    std::filesystem::permissions(folder.path(), std::filesystem::perms(0700));
    EXPECT_EQ(readText(inReadOnly), old);
}

}  // namespace
}  // namespace ravinel
