#include "settings/settings.h"

#include <gtest/gtest.h>

#include <array>

#include "settings/settings_limits.h"
#include "settings/vr_ini_file.h"
#include "tests/temp_folder.h"

namespace ravinel {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

// The file a first run writes: every section and key in the fixed order, each with the
// value of a fresh start.
const std::string kDefaultFile =
    "[ThumbForm]\nMaximized=0\nLeft=0\nTop=0\nRight=640\nBottom=480\nTreeAlign=4\n"
    "TreeWidth=160\nViewStyle=0\n\n"
    "[ThumbConf]\nHiQuality=1\nExecOnClick=0\nUseViXCat=0\nUseViXCatFirst=1\nOpenArc=1\n"
    "CloseArcList=1\nSortMode=0\nViXHomeDir=\nUseSharedCache=1\n\n"
    "[ThumbPanel]\nStyle=0\nPanelH=130\nPanelW=110\nImageSize=100\nImageTop=5\nLabelTop=110\n"
    "PnlBkCol=clBtnFace\nPanelCol=clBtnFace\nLblBkCol=clWindow\nLblTxCol=clWindowText\n"
    "LblBkSelCol=clHighlight\nLblTxSelCol=clHighlightText\nLabelFont=ＭＳ ゴシック\n"
    "LabelChar=128\nLabelFSize=9\nLabelStyle=0\n\n"
    "[ViewForm]\nSizeMode=1\nSizeFixed=640\nSizeRate=1\nPosMode=1\nWBuffer=1\nFrameless=0\n"
    "PlayAnimation=1\nPreloadCount=1\n\n"
    "[ViewConf]\nReductMode=2\nExpandMode=2\nColorMode=0\nFltInReduct=0220\n"
    "FltInExpand=0010\nFltInOgsize=0000\nDither=1\n3DNow=1\n\n"
    "[OptionForm]\nSelectPage=5\n\n"
    "[GLoader]\nDoAnalyze=0\nUseSPIPrev=1\nInBMPFirst=0\nInJPGFirst=0\nUseOrientation=1\nMaxSide="
    "4096\nUseColorProfile=1\nAlphaBackground=0\nAlphaColor=clWhite\n\n"
    "[SPI]\nSearchOpt=3\n\n"
    "[File]\nLastDir=\n\n"
    "[UI]\nLanguage=\n\n";

// Loads the text as the settings file, as a start of the program does.
Settings loadFrom(const TempFolder& folder, const std::string& text) {
    const std::string path = folder.file("ravinel.ini");
    writeText(path, text);
    return loadSettings(path);
}

TEST(Settings, FreshStartWritesEveryKeyInOrder) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    Settings settings = loadSettings(path);
    EXPECT_EQ(settings, Settings{});
    saveSettings(settings, path);
    EXPECT_EQ(readText(path), kDefaultFile);
    // Saving again without changes gives the same bytes.
    Settings again = loadSettings(path);
    saveSettings(again, path);
    EXPECT_EQ(readText(path), kDefaultFile);
}

TEST(Settings, HandEditedValuesAreReadAsStored) {
    TempFolder folder;
    const Settings s = loadFrom(folder,
                                "[ViewForm]\nSizeMode=258\nSizeFixed=70000\nSizeRate=0,75\n"
                                "PosMode=-1\n"
                                "[ViewConf]\nReductMode=$1\nColorMode=0x3\nFltInReduct=0333\n"
                                "FltInExpand=xyz\nFltInOgsize=0200\nDither=0\n3DNow=7\n"
                                "[ThumbPanel]\nPnlBkCol=$8000000F\nPanelCol=clbtnface\n"
                                "LblBkCol=00FF00\nLblTxCol=$7C000000\nLblBkSelCol=clNone\n"
                                "LblTxSelCol=nothing\nLabelFont=DejaVu Sans\n"
                                "[File]\nLastDir=/home/u/写真/\n");
    EXPECT_EQ(s.viewForm.sizeMode, SizeMode::fixedRate);  // low eight bits of 258
    EXPECT_EQ(s.viewForm.sizeFixed, 4464);                // low sixteen bits of 70000
    EXPECT_DOUBLE_EQ(s.viewForm.sizeRate, 0.75);
    EXPECT_EQ(s.viewForm.posMode, modeOfIndex<PosMode>(255));
    EXPECT_EQ(s.viewConf.reductMode, ResizeMethod::halftone);
    EXPECT_EQ(s.viewConf.expandMode, ResizeMethod::area);  // missing: default
    EXPECT_EQ(s.viewConf.colorMode, ColorMode::palette4);
    const FilterSet all3{static_cast<FilterPhase>(3), static_cast<FilterPhase>(3),
                         static_cast<FilterPhase>(3)};
    EXPECT_EQ(s.viewConf.fltInReduct, all3);
    EXPECT_EQ(s.viewConf.fltInExpand, FilterSet{});
    EXPECT_EQ(s.viewConf.fltInOgsize,
              (FilterSet{FilterPhase::fpNone, FilterPhase::fpNone, FilterPhase::fpAfter}));
    EXPECT_FALSE(s.viewConf.dither);
    EXPECT_TRUE(s.viewConf.use3DNow);
    EXPECT_EQ(s.thumbPanel.pnlBkCol, 0x8000000Fu);
    EXPECT_EQ(s.thumbPanel.panelCol, 0x8000000Fu);
    EXPECT_EQ(s.thumbPanel.lblBkCol, 0x0000FF00u);
    EXPECT_EQ(s.thumbPanel.lblTxCol, 0x80000008u);     // bits 26-30: default clWindowText
    EXPECT_EQ(s.thumbPanel.lblBkSelCol, 0x1FFFFFFFu);  // by name, though its bits are set
    EXPECT_EQ(s.thumbPanel.lblTxSelCol, 0x8000000Eu);
    EXPECT_EQ(s.thumbPanel.labelFont, "DejaVu Sans");
    EXPECT_EQ(s.lastDir, "/home/u/写真/");
}

TEST(Settings, UnreadableValuesGiveTheDefaults) {
    TempFolder folder;
    const Settings s = loadFrom(folder,
                                "[ViewForm]\nSizeRate=abc\nSizeMode=\nWBuffer=yes\n"
                                "[ThumbForm]\nTreeWidth=12abc\nTreeAlign=99999999999\n"
                                "[ThumbConf]\nHiQuality=\nSortMode=1.5\n"
                                "[ThumbPanel]\nPanelW=$\nPanelH=0x\nImageSize=- 5\n");
    EXPECT_EQ(s, Settings{});
}

TEST(Settings, RoundTripKeepsEveryField) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    Settings s;
    s.thumbForm = ThumbFormConf{1, -20, 3, false, Rect{-8, 10, 1928, 1090}};
    s.thumbConf = ThumbConf{
        false, true, true, false, false, false, SortMode::smTimeDown, "/mnt/vix/ カタログ"};
    s.thumbPanel.style = 5;
    s.thumbPanel.pnlBkCol = 0x00123456;
    s.thumbPanel.lblTxSelCol = 0x00FFFFFF;
    s.thumbPanel.panelW = -1;
    s.thumbPanel.labelStyle = 15;
    s.thumbPanel.labelChar = 0;
    s.thumbPanel.labelFont = "Noto Sans CJK JP";
    s.viewForm =
        ViewFormConf{SizeMode::fixedLongSide, 65535, 0.1 + 0.2, PosMode::right, false, true};
    s.viewConf.reductMode = ResizeMethod::stretch;
    s.viewConf.fltInOgsize =
        FilterSet{FilterPhase::fpAfter, FilterPhase::fpNone, FilterPhase::fpAfter};
    s.viewConf.use3DNow = false;
    s.selectPage = -3;
    s.loaderFlags = LoaderFlags{true, false, true, true, false, 12000};
    s.spiSearchOptions = 31;
    s.lastDir = "/tmp/a b=c/";
    s.uiLanguage = "en";
    saveSettings(s, path);
    const std::string text = readText(path);
    EXPECT_NE(text.find("SizeRate=0.3\n"), std::string::npos);  // 15 digits, shortest
    EXPECT_NE(text.find("PnlBkCol=$00123456\n"), std::string::npos);
    EXPECT_NE(text.find("LblTxSelCol=clWhite\n"), std::string::npos);
    Settings back = loadSettings(path);
    back.viewForm.sizeRate = s.viewForm.sizeRate;  // 0.30000000000000004 is kept as 0.3
    EXPECT_EQ(back, s);
}

// The file keeps whatever number it holds; the loader gets it within 1024..32767.
TEST(Settings, LargestPictureSideKeepsItsNumberAndIsUsedWithinItsRange) {
    struct Case {
        const char* line;
        int32_t stored;
        int32_t used;
    };
    const Case cases[] = {
        {"", 4096, 4096},
        {"MaxSide=8192", 8192, 8192},
        {"MaxSide=32768", 32768, 32767},
        {"MaxSide=100000", 100000, 32767},
        {"MaxSide=1023", 1023, 1024},
        {"MaxSide=-5", -5, 1024},
        {"MaxSide=big", 4096, 4096},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Settings s = loadFrom(folder, std::string("[GLoader]\n") + c.line + "\n");
        EXPECT_EQ(s.loaderFlags.maxSide, c.stored);
        EXPECT_EQ(pictureSideLimit(s.loaderFlags.maxSide), c.used);
        saveSettings(s, folder.file("ravinel.ini"));
        EXPECT_NE(readText(folder.file("ravinel.ini"))
                      .find("InJPGFirst=0\nUseOrientation=1\nMaxSide=" + std::to_string(c.stored) +
                            "\nUseColorProfile=1\nAlphaBackground=0"),
                  std::string::npos);
    }
}

// Pictures prepared ahead: the file keeps its number, the window uses 0..8.
TEST(Settings, PreloadCountKeepsItsNumberAndIsUsedWithinItsRange) {
    const std::array<std::array<int32_t, 2>, 5> cases = {{{1, 1}, {0, 0}, {8, 8}, {9, 8}, {-3, 0}}};
    TempFolder folder;
    for (const auto& [stored, used] : cases) {
        SCOPED_TRACE(stored);
        Settings s = loadFrom(folder, "[ViewForm]\nPreloadCount=" + std::to_string(stored) + "\n");
        EXPECT_EQ(s.preloadCount, stored);
        EXPECT_EQ(preloadCountLimit(s.preloadCount), used);
    }
}

TEST(Settings, MaximizedWindowKeepsTheBoundsOfTheFile) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    writeText(path, "[ThumbForm]\nLeft=10\nTop=20\nRight=810\n");
    Settings s;
    s.thumbForm.maximized = true;
    s.thumbForm.bounds = Rect{0, 0, 1920, 1080};  // the maximised window's own
    saveSettings(s, path);
    const Rect kept{10, 20, 810, 480};  // Bottom was missing: its default
    EXPECT_EQ(s.thumbForm.bounds, kept);
    EXPECT_EQ(loadSettings(path).thumbForm.bounds, kept);

    s.thumbForm.maximized = false;
    s.thumbForm.bounds = Rect{1, 2, 3, 4};
    saveSettings(s, path);
    EXPECT_EQ(loadSettings(path).thumbForm.bounds, (Rect{1, 2, 3, 4}));
}

TEST(Settings, UnknownSectionsAndKeysAreDroppedOnSave) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    writeText(path, "[Extra]\nA=1\n[ViewConf]\nMine=2\nReductMode=1\n[OptionForm]\nSelectPage=2\n");
    Settings s = loadSettings(path);
    saveSettings(s, path);
    Settings expected;
    expected.viewConf.reductMode = ResizeMethod::halftone;
    expected.selectPage = 2;
    EXPECT_EQ(s, expected);
    std::string text = kDefaultFile;
    text.replace(text.find("ReductMode=2"), 12, "ReductMode=1");
    text.replace(text.find("SelectPage=5"), 12, "SelectPage=2");
    EXPECT_EQ(readText(path), text);
}

TEST(Settings, SectionsAndKeysIgnoreCaseAndTheFirstOccurrenceCounts) {
    TempFolder folder;
    const Settings s = loadFrom(folder,
                                "[viewconf]\nREDUCTMODE=1\nreductmode=0\n"
                                "[THUMBCONF]\nusevixcatfirst=0\n"
                                "[ViewConf]\nExpandMode=1\nReductMode=0\n");
    EXPECT_EQ(s.viewConf.reductMode, ResizeMethod::halftone);
    EXPECT_EQ(s.viewConf.expandMode,
              ResizeMethod::halftone);  // a repeated section adds its new keys
    EXPECT_FALSE(s.thumbConf.useVixCatFirst);
}

TEST(Settings, HostileFilesKeepTheirGoodValues) {
    TempFolder folder;
    std::string junk = "\xEF\xBB\xBFjunk before any section\r\nSelectPage=9\r\n[ViewConf]\r\n";
    junk += "=7\r\nno equals sign\r\n[broken\r\n; ReductMode=0\r\n";
    junk += std::string("bin\0ary\xff\xfe=\x01\x02\r\n", 14);
    junk += "ColorMode = 4 \r\n";
    junk += "Dither=" + std::string(200000, 'x') + "\r\n";   // too long: skipped whole
    junk += "ExpandMode=1\r\n[OptionForm]\r\nSelectPage=3";  // no final line break
    const Settings s = loadFrom(folder, junk);
    EXPECT_EQ(s.viewConf.colorMode, ColorMode::halftone1);
    EXPECT_EQ(s.viewConf.expandMode, ResizeMethod::halftone);
    EXPECT_EQ(s.viewConf.reductMode, ResizeMethod::area);
    EXPECT_TRUE(s.viewConf.dither);
    EXPECT_EQ(s.selectPage, 3);
}

TEST(Settings, ValueWithLineBreakCannotInjectKeys) {
    TempFolder folder;
    const std::string path = folder.file("ravinel.ini");
    Settings s;
    s.lastDir = "/tmp/x\n[ViewConf]\nReductMode=0\n";
    s.thumbConf.vixHomeDir = "/vix/";
    saveSettings(s, path);
    const Settings back = loadSettings(path);
    EXPECT_EQ(back.lastDir, "");
    EXPECT_EQ(back.thumbConf.vixHomeDir, "/vix/");
    EXPECT_EQ(back.viewConf.reductMode, ResizeMethod::area);
}

}  // namespace
}  // namespace ravinel
