#include "viewer/image_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <filesystem>
#include <regex>

#include "tests/ui/viewer/view_window_fixture.h"
#include "viewer/display_geometry.h"

namespace ravinel {
namespace {

using testing::infoCaptions;
using testing::ViewWindowTest;

class ImageWindowTest : public ViewWindowTest {
  protected:
    void SetUp() override {
        ViewWindowTest::SetUp();
        writeBmp("a.bmp", 40, 30);
        writeJpeg("b.jpg", 64, 48);
        writeText("c.txt");
        writeBmp("d.bmp", 20, 10);
    }
};

TEST_F(ImageWindowTest, FirstPictureAtItsOwnSizeWithTitle) {
    ImageWindow* window = open("b.jpg");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(clientSize(window), QSize(64, 48));
    EXPECT_EQ(pictureSize(window), QSize(64, 48));
    EXPECT_EQ(title(window), "b.jpg [2/4] 100.00% ");
    EXPECT_EQ(window->fileIndex(), 1);
    EXPECT_EQ(window->lastIndex(), 3);
    EXPECT_TRUE(window->popupMenu().vaNext->isEnabled());
    EXPECT_TRUE(window->popupMenu().vaPrior->isEnabled());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    window->process().onProgress(ProcessStage::resizing);  // the stages show in the title
    EXPECT_EQ(title(window), "リサイズ中");
}

TEST_F(ImageWindowTest, NavigationSkipsFilesThatDoNotLoad) {
    ImageWindow* window = open("b.jpg");
    ASSERT_NE(window, nullptr);
    const ViewPopupMenu& menu = window->popupMenu();
    menu.vaNext->trigger();  // over c.txt
    EXPECT_EQ(title(window), "d.bmp [4/4] 100.00% ");
    EXPECT_EQ(clientSize(window), QSize(20, 10));
    EXPECT_FALSE(menu.vaNext->isEnabled());
    EXPECT_FALSE(menu.vaLast->isEnabled());
    menu.vaPrior->trigger();
    EXPECT_EQ(title(window), "b.jpg [2/4] 100.00% ");
    menu.vaFirst->trigger();
    EXPECT_EQ(title(window), "a.bmp [1/4] 100.00% ");
    EXPECT_FALSE(menu.vaPrior->isEnabled());
    EXPECT_FALSE(menu.vaFirst->isEnabled());
    menu.vaLast->trigger();
    EXPECT_EQ(title(window), "d.bmp [4/4] 100.00% ");
    EXPECT_EQ(pictureSize(window), QSize(20, 10));
}

TEST_F(ImageWindowTest, NextWithOnlyTextFilesAheadStaysPut) {
    std::filesystem::remove(folder_.path("d.bmp"));
    writeText("e.txt");
    ImageWindow* window = open("b.jpg");
    ASSERT_NE(window, nullptr);
    window->popupMenu().vaNext->trigger();
    EXPECT_EQ(title(window), "b.jpg [2/4] 100.00% ");
    EXPECT_EQ(window->process().loadInfo.width, 64);
    EXPECT_EQ(pictureSize(window), QSize(64, 48));
    EXPECT_TRUE(window->popupMenu().vaNext->isEnabled());  // the index is still below the last
}

TEST_F(ImageWindowTest, FailedReloadKeepsThePictureUsable) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    std::filesystem::remove(folder_.path("a.bmp"));
    window->popupMenu().vpReopen->trigger();
    EXPECT_EQ(window->process().loadInfo.width, 40);
    EXPECT_EQ(pictureSize(window), QSize(40, 30));
    window->popupMenu().vpRate200->trigger();  // the kept picture displays again
    EXPECT_EQ(pictureSize(window), QSize(80, 60));
    EXPECT_EQ(title(window), "a.bmp [1/4] 200.00% ");
}

TEST_F(ImageWindowTest, FitModeFillsTheScreenAndCentres) {
    writeBmp("wide.bmp", 100, 50);
    ImageWindow* window = open("wide.bmp");
    ASSERT_NE(window, nullptr);
    window->popupMenu().vpSizeFitMode->trigger();
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::fitScreen);
    EXPECT_TRUE(window->popupMenu().vpSizeFitMode->isChecked());
    const ScreenMetrics metrics = hub().getScreenMetrics(window);
    const GProcess& process = window->process();
    EXPECT_EQ(process.destWidth, 2 * process.destHeight);
    EXPECT_TRUE(process.destWidth == metrics.maxClientWidth ||
                process.destHeight == metrics.maxClientHeight);
    EXPECT_LE(process.destWidth, metrics.maxClientWidth);
    EXPECT_LE(process.destHeight, metrics.maxClientHeight);
    EXPECT_EQ(pictureSize(window), QSize(process.destWidth, process.destHeight));
    const WindowBounds bounds =
        placeWindow(process.destWidth, process.destHeight, metrics, PosMode::centre, false);
    EXPECT_EQ(frameRect(window), QRect(bounds.left, bounds.top, bounds.width, bounds.height));
}

TEST_F(ImageWindowTest, PositionCommandsMoveTheWindowOnly) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    const ScreenMetrics metrics = hub().getScreenMetrics(window);
    window->popupMenu().vpWinPosR->trigger();
    EXPECT_EQ(window->viewForm().posMode, PosMode::right);
    EXPECT_EQ(frameRect(window).right() + 1, metrics.workLeft + metrics.workWidth);
    window->popupMenu().vpWinPosL->trigger();
    EXPECT_EQ(frameRect(window).left(), metrics.workLeft);
    EXPECT_EQ(frameRect(window).top(), metrics.workTop);
    EXPECT_TRUE(window->popupMenu().vpWinPosL->isChecked());
    EXPECT_FALSE(window->popupMenu().vpWinPosR->isChecked());
}

TEST_F(ImageWindowTest, ZoomStepsChangeTheShownSizeNotTheMode) {
    writeBmp("p.bmp", 100, 80);
    writeBmp("q.bmp", 50, 40);
    hub().settings().viewForm.sizeMode = SizeMode::fixedRate;
    hub().settings().viewForm.sizeRate = 0.8;
    ImageWindow* window = open("p.bmp");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(pictureSize(window), QSize(80, 64));
    const ViewPopupMenu& menu = window->popupMenu();
    menu.vpSizeUp->trigger();  // 0.8 x 1.1892
    EXPECT_EQ(pictureSize(window), QSize(95, 76));
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::fixedRate);
    EXPECT_DOUBLE_EQ(window->viewForm().sizeRate, 0.8);
    menu.vpReopen->trigger();  // a reload shows the mode's own size again
    EXPECT_EQ(pictureSize(window), QSize(80, 64));
    menu.vpSizeDown->trigger();  // 0.8 x 0.841
    EXPECT_EQ(pictureSize(window), QSize(67, 54));
    // Fixing the current rate keeps the zoomed rate for the next picture.
    menu.vpRateCustom->trigger();
    EXPECT_DOUBLE_EQ(window->viewForm().sizeRate, 54.0 / 80.0);
    menu.vaNext->trigger();
    EXPECT_EQ(title(window), "q.bmp [6/6] 67.50% ");
    EXPECT_EQ(pictureSize(window), QSize(34, 27));
}

TEST_F(ImageWindowTest, ZoomOnTinyPictures) {
    writeBmp("t.bmp", 3, 5);
    writeBmp("u.bmp", 2, 2);
    ImageWindow* window = open("t.bmp");
    ASSERT_NE(window, nullptr);
    window->popupMenu().vpSizeUp->trigger();
    EXPECT_EQ(pictureSize(window), QSize(4, 7));
    window->popupMenu().vaNext->trigger();
    EXPECT_EQ(window->fileName(), "u.bmp");
    window->popupMenu().vpSizeDown->trigger();
    EXPECT_EQ(pictureSize(window), QSize(1, 1));
    window->popupMenu().vpSizeDown->trigger();  // nothing below one pixel
    EXPECT_EQ(pictureSize(window), QSize(1, 1));
    EXPECT_EQ(title(window), "u.bmp [6/6] 50.00% ");
}

TEST_F(ImageWindowTest, LongSideModesAndFixingTheCurrentSize) {
    writeBmp("wide.bmp", 100, 50);
    ImageWindow* window = open("wide.bmp");
    ASSERT_NE(window, nullptr);
    const ViewPopupMenu& menu = window->popupMenu();
    menu.vpFixed320->trigger();
    EXPECT_EQ(pictureSize(window), QSize(320, 160));
    EXPECT_TRUE(menu.vpSizeFixedMode->isChecked());
    EXPECT_FALSE(menu.vpSizeOrgMode->isChecked());
    menu.vpSizeDown->trigger();
    menu.vpFixedCustom->trigger();
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::fixedLongSide);
    EXPECT_EQ(window->viewForm().sizeFixed, window->process().destWidth);
    menu.vpSizeOrgMode->trigger();
    EXPECT_EQ(pictureSize(window), QSize(100, 50));
}

TEST_F(ImageWindowTest, ProcessingCommandsChangeTheWindowsSettings) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    const ViewPopupMenu& menu = window->popupMenu();
    menu.vpColor[2]->trigger();
    EXPECT_EQ(window->process().settings.colorMode, ColorMode::palette8);
    EXPECT_EQ(window->process().dest.bitCount(), 8);
    EXPECT_TRUE(menu.vpColor[2]->isChecked());
    EXPECT_FALSE(menu.vpColor[0]->isChecked());
    menu.vpReductMethod[1]->trigger();
    EXPECT_EQ(window->process().settings.reductMode, ResizeMethod::halftone);
    menu.vpExpandMethod[0]->trigger();
    EXPECT_EQ(window->process().settings.expandMode, ResizeMethod::stretch);

    const FilterChoiceItems& brightness = menu.vpReductFilter[1];
    brightness.none->trigger();
    EXPECT_EQ(window->process().settings.fltInReduct.normalize, FilterPhase::fpNone);
    EXPECT_FALSE(brightness.parent->isChecked());
    brightness.before->trigger();
    EXPECT_EQ(window->process().settings.fltInReduct.normalize, FilterPhase::fpBefore);
    EXPECT_TRUE(brightness.parent->isChecked());
    menu.vpOgsizeFilter[2]->trigger();
    EXPECT_EQ(window->process().settings.fltInOgsize.sharp, FilterPhase::fpAfter);
    menu.vpOgsizeFilter[2]->trigger();
    EXPECT_EQ(window->process().settings.fltInOgsize.sharp, FilterPhase::fpNone);
    // Nothing of this reaches the hub's defaults by itself.
    EXPECT_EQ(hub().settings().viewConf, defaultViewConf());
}

TEST_F(ImageWindowTest, SetDefaultCopiesTheWindowsSettingsToTheHub) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    const ViewPopupMenu& menu = window->popupMenu();
    menu.vpColor[3]->trigger();
    menu.vpFixed640->trigger();
    menu.vpWinPosR->trigger();
    menu.vpSetDefault->trigger();
    const Settings& defaults = hub().settings();
    EXPECT_EQ(defaults.viewConf.colorMode, ColorMode::palette4);
    EXPECT_EQ(defaults.viewForm.sizeMode, SizeMode::fixedLongSide);
    EXPECT_EQ(defaults.viewForm.sizeFixed, 640);
    EXPECT_EQ(defaults.viewForm.posMode, PosMode::right);
    // The user's dither choice, not the value the screen forced for the display.
    EXPECT_TRUE(defaults.viewConf.dither);
}

TEST_F(ImageWindowTest, FramelessWindowFillsTheWorkArea) {
    writeBmp("wide.bmp", 100, 50);
    hub().settings().viewForm.frameless = true;
    hub().settings().viewForm.sizeMode = SizeMode::fitScreen;
    ImageWindow* window = open("wide.bmp");
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(window->popupMenu().vpNoFrame->isChecked());
    const ScreenMetrics metrics = hub().getScreenMetrics(window);
    const int width = std::min(metrics.workWidth, 2 * metrics.workHeight);
    EXPECT_EQ(pictureSize(window), QSize(width, width / 2));
}

TEST_F(ImageWindowTest, FramelessToggleReopensThePictureThroughTheHub) {
    ImageWindow* window = open("b.jpg");
    ASSERT_NE(window, nullptr);
    QPointer<ImageWindow> old(window);
    window->popupMenu().vpNoFrame->trigger();
    EXPECT_TRUE(hub().settings().viewForm.frameless);
    const std::vector<ImageWindow*> now = imageWindows();
    EXPECT_TRUE(old.isNull());
    ASSERT_EQ(now.size(), 1u);
    EXPECT_TRUE(now[0]->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(now[0]->popupMenu().vpNoFrame->isChecked());
    EXPECT_EQ(title(now[0]), "b.jpg [2/4] 100.00% ");

    // A picture that no longer loads keeps the old window, the new default stays.
    std::filesystem::remove(folder_.path("b.jpg"));
    now[0]->popupMenu().vpNoFrame->trigger();
    EXPECT_FALSE(hub().settings().viewForm.frameless);
    EXPECT_EQ(imageWindows(), now);
    EXPECT_FALSE(now[0]->popupMenu().vpNoFrame->isChecked());
}

TEST_F(ImageWindowTest, FailedFramelessToggleKeepsSizingTheFramedWindow) {
    writeBmp("wide.bmp", 100, 50);
    ImageWindow* window = open("wide.bmp");
    ASSERT_NE(window, nullptr);
    std::filesystem::remove(folder_.path("wide.bmp"));
    window->popupMenu().vpNoFrame->trigger();  // the replacement cannot load the picture
    ASSERT_TRUE(window->popupMenu().vpNoFrame->isChecked());
    ASSERT_FALSE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    // Frames as a window manager would draw them: the framed box is smaller than the
    // work area, and the window, still framed, must be sized by it.
    hub().noteFrameExtents(4, 4, 40);
    window->popupMenu().vpSizeFitMode->trigger();
    const ScreenMetrics metrics = hub().getScreenMetrics(window);
    const DisplaySize framed = calcDisplaySize(100, 50, window->viewForm(), metrics, false);
    EXPECT_EQ(pictureSize(window), QSize(framed.width, framed.height));
    EXPECT_NE(calcDisplaySize(100, 50, window->viewForm(), metrics, true), framed);
}

TEST_F(ImageWindowTest, InformationSubmenuDescribesTheShownPicture) {
    writeBmp("x&y.bmp", 40, 30);
    ImageWindow* window = open("b.jpg");
    ASSERT_NE(window, nullptr);
    const std::vector<std::string> first = infoCaptions(*window);
    ASSERT_EQ(first.size(), 11u);
    EXPECT_EQ(first[0], "ファイル名\tb.jpg");
    EXPECT_EQ(first[1], "フルパス\t(クリックでパスをコピー)");
    EXPECT_EQ(first[3], "画像サイズ\t64 x 48");
    EXPECT_EQ(first[4], "-");
    EXPECT_EQ(first[5], "拡大縮小率\t100.00%");
    EXPECT_EQ(first[7], "表示サイズ\t64 x 48");
    // The window's own load time of the first picture; under a millisecond shows as none.
    EXPECT_TRUE(std::regex_match(first[9], std::regex("読込処理\t([1-9][0-9]* ms|－)")))
        << first[9];

    // Rebuilt at every popup, not added to.
    window->popupMenu().vpRate50->trigger();
    const std::vector<std::string> second = infoCaptions(*window);
    ASSERT_EQ(second.size(), 11u);
    EXPECT_EQ(second[7], "表示サイズ\t32 x 24");
    EXPECT_EQ(second[9], "読込処理\t－");

    QMenu* path = window->popupMenu().vpInfo->actions().at(1)->menu();
    ASSERT_NE(path, nullptr);
    ASSERT_EQ(path->actions().size(), 1);
    path->actions().at(0)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), folder() + "b.jpg");

    window->popupMenu().vaLast->trigger();
    ASSERT_EQ(window->fileName(), "x&y.bmp");
    EXPECT_EQ(infoCaptions(*window)[0], "ファイル名\tx&&y.bmp");  // shown as a plain "&"
}

TEST_F(ImageWindowTest, CopyPutsTheShownPictureOnTheClipboard) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    window->popupMenu().vpRate50->trigger();
    window->popupMenu().vpCopyView->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(20, 15));
}

TEST_F(ImageWindowTest, BrowserItemOnlyWithoutABrowser) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    emit window->popupMenu().menu->aboutToShow();
    EXPECT_TRUE(window->popupMenu().vaThumbView->isEnabled());
    hub().setBrowserShowing(true);
    emit window->popupMenu().menu->aboutToShow();
    EXPECT_FALSE(window->popupMenu().vaThumbView->isEnabled());
    window->popupMenu().vaThumbView->trigger();
    EXPECT_EQ(hub().settings().lastDir, "");

    hub().setBrowserShowing(false);
    emit window->popupMenu().menu->aboutToShow();
    window->popupMenu().vaThumbView->trigger();  // the browser opens on this folder
    EXPECT_EQ(hub().settings().lastDir, folder());
    // The browser window the hub showed; deleting it frees its menus, so pick it first.
    std::vector<QWidget*> shown;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && qobject_cast<ImageWindow*>(widget) == nullptr) {
            shown.push_back(widget);
        }
    }
    EXPECT_EQ(shown.size(), 1u);
    for (QWidget* widget : shown) {
        delete widget;
    }
}

}  // namespace
}  // namespace ravinel
