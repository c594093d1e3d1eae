#include "viewer/view_texts.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

TEST(RateText, TwoDecimalsWithHalvesGoingUp) {
    EXPECT_EQ(rateText(2, 3), "66.67");
    EXPECT_EQ(rateText(1200, 1200), "100.00");
    EXPECT_EQ(rateText(1, 3), "33.33");
    // 1 / 800 is exactly 0.125 %, which goes up.
    EXPECT_EQ(rateText(1, 800), "0.13");
    EXPECT_EQ(rateText(1, 256), "0.39");
}

TEST(RateText, FiveSignificantDigits) {
    EXPECT_EQ(rateText(12345, 1000), "1234.50");
    EXPECT_EQ(rateText(123457, 10000), "1234.60");
    EXPECT_EQ(rateText(999, 7), "14271.00");  // 14271.43
    EXPECT_EQ(rateText(256, 1), "25600.00");
    // Rounding to five digits carries into a new digit.
    EXPECT_EQ(rateText(999999, 100000), "1000.00");
}

TEST(RateText, NoHeightGivesZero) {
    EXPECT_EQ(rateText(100, 0), "0.00");
    EXPECT_EQ(rateText(0, 100), "0.00");
}

TEST(TitleText, NamePositionAndRateWithATrailingBlank) {
    EXPECT_EQ(titleText("sample.jpg", 2, 119, "66.67"), "sample.jpg [3/120] 66.67% ");
    EXPECT_EQ(titleText("a.png", INT32_MAX, INT32_MAX, "1.00"),
              "a.png [2147483648/2147483648] 1.00% ");
}

TEST(TimeText, MillisecondsOrAFullWidthHyphen) {
    EXPECT_EQ(timeText(123), "123 ms");
    EXPECT_EQ(timeText(4294967295u), "4294967295 ms");
    EXPECT_EQ(timeText(0), "\xEF\xBC\x8D");  // U+FF0D
}

InfoState shownPicture() {
    InfoState state;
    state.fileName = "sample.jpg";
    state.fullPath = "/home/user/pictures/sample.jpg";
    state.loadInfo.width = 1600;
    state.loadInfo.height = 1200;
    state.loadInfo.pixelFormat = kPixelFormat24Bit;
    state.rateText = "79.67";
    state.colorModeName = "24";
    state.destWidth = 1274;
    state.destHeight = 956;
    state.loadTimeText = "35 ms";
    state.showTimeText = "－";
    return state;
}

TEST(InfoEntries, FolderSourceCopiesTheFullPath) {
    const std::vector<InfoEntry> entries = infoEntries(shownPicture());
    ASSERT_EQ(entries.size(), 11u);
    const std::vector<std::string> captions = {
        "ファイル名\tsample.jpg",
        "フルパス\t(クリックでパスをコピー)",
        "画像ビット数\t24 bit",
        "画像サイズ\t1600 x 1200",
        "",
        "拡大縮小率\t79.67%",
        "表示ビット数\t24 bit",
        "表示サイズ\t1274 x 956",
        "",
        "読込処理\t35 ms",
        "表示処理\t－",
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].caption, captions[i]) << i;
        EXPECT_EQ(entries[i].separator, i == 4 || i == 8) << i;
        EXPECT_EQ(entries[i].copiesPath, i == 1) << i;
        EXPECT_EQ(entries[i].subItem, i == 1 ? "/home/user/pictures/sample.jpg" : "") << i;
    }
}

TEST(InfoEntries, ArchiveSourceShowsTheArchiveWithoutCopying) {
    InfoState state = shownPicture();
    state.archiveSource = true;
    state.archiveName = "/home/user/album.zip";
    state.loadInfo.pixelFormat = 200;  // not a known format
    const std::vector<InfoEntry> entries = infoEntries(state);
    ASSERT_EQ(entries.size(), 11u);
    EXPECT_EQ(entries[1].caption, "圧縮ファイルのパス");
    EXPECT_EQ(entries[1].subItem, "/home/user/album.zip");
    EXPECT_FALSE(entries[1].copiesPath);
    EXPECT_EQ(entries[2].caption, "画像ビット数\tCustom? bit");
}

}  // namespace
}  // namespace ravinel
