#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "common/img_tn_panel.h"
#include "settings/color_names.h"
#include "tests/ui/dialogs/options_window_fixture.h"

namespace ravinel::testing {
namespace {

TEST_F(OptionsTest, PanelWidthBarResizesTheSampleAndItsLabel) {
    hubLook().panelH = 130;
    OptionsWindow& options = openOptions();
    control<QSlider>("TrkBarPW")->setValue(120);
    EXPECT_EQ(control<QLabel>("LabelPS")->text(), "パネルのサイズ : 120x130");
    EXPECT_EQ(options.previewTile()->size(), QSize(120, 130));
    control<QSlider>("TrkBarTT")->setValue(7);
    control<QSlider>("TrkBarLT")->setValue(90);
    control<QSlider>("TrkBarTS")->setValue(64);
    EXPECT_EQ(control<QLabel>("LabelTS")->text(), "サムネイルのサイズ : 64x64");
    EXPECT_EQ(control<QLabel>("LabelTP")->text(), "↓サムネイルの縦位置 : 7");
    EXPECT_EQ(control<QLabel>("LabelLP")->text(), "ファイル名の縦位置↑ : 90");
    EXPECT_EQ(options.previewTile()->label()->y(), 90);
    EXPECT_EQ(options.previewTile()->labelText(), "ファイル名 FileName");
    EXPECT_EQ(hubLook().panelW, 110) << "the hub keeps its value until the window closes";
}

TEST_F(OptionsTest, SamplePictureIsCentredInTheTile) {
    hubLook().imageSize = 100;
    hubLook().panelW = 110;
    hubLook().imageTop = 9;
    OptionsWindow& options = openOptions();
    EXPECT_EQ(options.previewTile()->imageBounds(), QRect(5, 9, 100, 100));
    EXPECT_EQ(options.previewTile()->image().pixelColor(50, 50), QColor(Qt::white));
    control<QSlider>("TrkBarTS")->setValue(41);
    EXPECT_EQ(options.previewTile()->imageBounds().left(), 34) << "(110 - 41) div 2";
}

TEST_F(OptionsTest, StoredValuesOutsideTheBarsAreClampedToThem) {
    hubLook().panelW = 5000;
    hubLook().imageTop = -3;
    openOptions().close();
    EXPECT_EQ(hubLook().panelW, 242);
    EXPECT_EQ(hubLook().imageTop, 0);
}

TEST_F(OptionsTest, ResetToSystemColoursKeepsTheSelectedLabelColours) {
    hubLook().panelCol = 0x0000FF;
    hubLook().pnlBkCol = 0x00FF00;
    hubLook().lblTxCol = 0xFF0000;
    hubLook().lblBkCol = 0x123456;
    hubLook().lblBkSelCol = 0x010203;
    hubLook().lblTxSelCol = 0x040506;
    OptionsWindow& options = openOptions();
    control<QPushButton>("ButtonColOS")->click();
    options.close();
    EXPECT_EQ(hubLook().panelCol, colorFromName("clBtnFace"));
    EXPECT_EQ(hubLook().pnlBkCol, colorFromName("clBtnFace"));
    EXPECT_EQ(hubLook().lblTxCol, colorFromName("clWindowText"));
    EXPECT_EQ(hubLook().lblBkCol, colorFromName("clWindow"));
    EXPECT_EQ(hubLook().lblBkSelCol, 0x010203u);
    EXPECT_EQ(hubLook().lblTxSelCol, 0x040506u);
}

TEST_F(OptionsTest, ColourButtonsStartFromTheFieldAndCancelKeepsIt) {
    hubLook().panelCol = 0x332211;
    OptionsWindow& options = openOptions();
    QColor offered;
    options.chooseColor = [&offered](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(0x0A, 0x0B, 0x0C);
    };
    control<QPushButton>("ButtonColP")->click();
    EXPECT_EQ(offered, QColor(0x11, 0x22, 0x33));
    options.chooseColor = [](const QColor&) -> std::optional<QColor> { return std::nullopt; };
    control<QPushButton>("ButtonColBk")->click();
    options.chooseColor = [](const QColor&) -> std::optional<QColor> { return QColor(1, 2, 3); };
    control<QPushButton>("ButtonColBk")->click();
    EXPECT_EQ(options.samplePanel()->palette().color(QPalette::Window), QColor(1, 2, 3));
    options.close();
    EXPECT_EQ(hubLook().panelCol, 0x0C0B0Au);
    EXPECT_EQ(hubLook().pnlBkCol, 0x030201u);
}

TEST_F(OptionsTest, FontButtonStoresNameSizeAndStyleAndKeepsTheCharacterSet) {
    hubLook().labelFont = "Sans";
    hubLook().labelFSize = 11;
    hubLook().labelStyle = 4;
    hubLook().labelChar = 0;
    OptionsWindow& options = openOptions();
    QFont offered;
    options.chooseFont = [&offered](const QFont& initial) -> std::optional<QFont> {
        offered = initial;
        QFont chosen("Serif");
        chosen.setPointSize(14);
        chosen.setBold(true);
        chosen.setStrikeOut(true);
        return chosen;
    };
    control<QPushButton>("ButtonFontL")->click();
    EXPECT_EQ(offered.family(), "Sans");
    EXPECT_EQ(offered.pointSize(), 11);
    EXPECT_TRUE(offered.underline());
    EXPECT_FALSE(offered.bold());
    EXPECT_EQ(options.previewTile()->label()->font().pointSize(), 14);
    options.close();
    EXPECT_EQ(hubLook().labelFont, "Serif");
    EXPECT_EQ(hubLook().labelFSize, 14);
    EXPECT_EQ(hubLook().labelStyle, 1 | 8);
    EXPECT_EQ(hubLook().labelChar, 0);
}

TEST_F(OptionsTest, FontDialogCancelChangesNothing) {
    OptionsWindow& options = openOptions();
    options.chooseFont = [](const QFont&) -> std::optional<QFont> { return std::nullopt; };
    control<QPushButton>("ButtonFontL")->click();
    options.close();
    EXPECT_EQ(hubLook(), ThumbPanel{});
}

TEST_F(OptionsTest, BorderAndLabelBoxesSetTheStyleBits) {
    hubLook().style = ImgTnPanel::kNoBorder;
    OptionsWindow& options = openOptions();
    EXPECT_TRUE(control<QCheckBox>("CkBxNoBorder")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CkBxNoLabel")->isChecked());
    control<QCheckBox>("CkBxNoLabel")->setChecked(true);
    EXPECT_TRUE(options.previewTile()->label()->isHidden());
    control<QCheckBox>("CkBxNoBorder")->setChecked(false);
    EXPECT_EQ(options.previewTile()->style(), ImgTnPanel::kNoLabel);
    options.close();
    EXPECT_EQ(hubLook().style, ImgTnPanel::kNoLabel);
}

TEST_F(OptionsTest, BothThumbnailPagesShareTheSample) {
    hub().settings().selectPage = 1;
    OptionsWindow& options = openOptions();
    auto* pages = control<QTabWidget>("PageCon");
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(options.samplePanel()->parentWidget(), control<QWidget>("TabThumbPanel2"));
    pages->setCurrentIndex(0);
    EXPECT_EQ(options.samplePanel()->parentWidget(), control<QWidget>("TabThumbPanel1"));
    pages->setCurrentIndex(4);
    EXPECT_EQ(options.samplePanel()->parentWidget(), control<QWidget>("TabThumbPanel2"));
    EXPECT_EQ(options.previewTile()->parentWidget(), options.samplePanel());
}

TEST_F(OptionsTest, PageOutsideTheRangeOpensTheVersionPage) {
    for (const int stored : {-1, 6, 1000}) {
        hub().settings().selectPage = stored;
        openOptions();
        EXPECT_EQ(control<QTabWidget>("PageCon")->currentIndex(), 5) << stored;
        EXPECT_EQ(control<QTabWidget>("PageCon")->tabText(5), "バージョン");
    }
}

}  // namespace
}  // namespace ravinel::testing
