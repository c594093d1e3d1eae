#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QTest>

#include "browser/grip_panel.h"
#include "browser/img_tn_view.h"
#include "browser/shell_dir_tree.h"
#include "common/window_on_monitor.h"
#include "tests/ui/browser/browser_window_fixture.h"

namespace ravinel::testing {
namespace {

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QString("-") : action->text());
    }
    return texts;
}

TEST_F(BrowserTest, MenuItemsInOrderWithTheirKeys) {
    BrowserWindow* browser = openBrowser();
    const ThumbPopupMenu& menu = browser->popupMenu();
    EXPECT_EQ(captions(menu.menu),
              (QStringList{"その他(&X)", "-", "ファイルマネージャで開く(&E)", "ソート(&S)",
                           "更新 - ファイル(&F)", "更新 - ツリー(&R)", "-", "表示 - サムネイル(&T)",
                           "表示 - 詳細リスト(&L)", "-", "アプリケーションの終了(&Q)"}));
    EXPECT_EQ(captions(menu.mmEtc),
              (QStringList{"画像以外は関連付けで開く(&X)", "拡張子を信用しない（内容を解析)(&A)",
                           "&ViXのカタログファイルを読み込む", "Vi&Xのカタログファイルを最優先する",
                           "サムネイル作成方法(&M)", "オプション(&O)"}));
    EXPECT_EQ(captions(menu.mmQuality), (QStringList{"精度重視(&Q)", "速度重視(&S)"}));
    EXPECT_EQ(captions(menu.mmSort),
              (QStringList{"ファイル名 &A→Z", "ファイル名 &Z→A", "ファイル名(数字) 1→10(&U)",
                           "ファイル名(数字) 10→1(&D)", "サイズ 小→大(&S)", "サイズ 大→小(&B)",
                           "更新日時 旧→新(&O)", "更新日時 新→旧(&N)"}));
    EXPECT_FALSE(menu.mmExecOnClick->isVisible());
    EXPECT_TRUE(menu.mmOption->isEnabled());
    EXPECT_EQ(menu.mmExplorer->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(menu.mmRefreshFile->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(menu.mmRefreshTree->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F5));
    EXPECT_EQ(menu.mmThumb->shortcut(), QKeySequence(Qt::Key_F8));
    EXPECT_EQ(menu.mmReport->shortcut(), QKeySequence(Qt::Key_F7));
    // The shortcuts work while the menu is closed.
    for (QAction* action :
         {menu.mmExplorer, menu.mmRefreshFile, menu.mmRefreshTree, menu.mmThumb, menu.mmReport}) {
        EXPECT_TRUE(browser->actions().contains(action)) << action->text().toStdString();
    }
}

TEST_F(BrowserTest, ViewKeysWorkWhileTheMenuIsClosed) {
    BrowserWindow* browser = openBrowser();
    browser->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(browser));
    QTest::keyClick(browser, Qt::Key_F7);
    EXPECT_NE(browser->reportView(), nullptr);
    QTest::keyClick(browser, Qt::Key_F8);
    EXPECT_NE(browser->thumbView(), nullptr);
    EXPECT_FALSE(browser->popupMenu().menu->isVisible());
}

TEST_F(BrowserTest, TicksFollowTheSettings) {
    ThumbConf& conf = hub().settings().thumbConf;
    conf.hiQuality = false;
    conf.execOnClick = true;
    conf.useVixCat = true;
    conf.useVixCatFirst = false;
    conf.sortMode = SortMode::smTimeUp;
    hub().graphicLoader().doAnalyze = true;
    BrowserWindow* browser = openBrowser();
    const ThumbPopupMenu& menu = browser->popupMenu();
    EXPECT_TRUE(menu.mmThumbQLow->isChecked());
    EXPECT_FALSE(menu.mmThumbQHi->isChecked());
    EXPECT_TRUE(menu.mmExecOnClick->isChecked());
    EXPECT_TRUE(menu.mmAnalyzeHeader->isChecked());
    EXPECT_TRUE(menu.mmUseVixCat->isChecked());
    EXPECT_TRUE(menu.mmUseVixCatFirst->isEnabled());
    EXPECT_FALSE(menu.mmUseVixCatFirst->isChecked());
    for (size_t mode = 0; mode < 8; ++mode) {
        EXPECT_EQ(menu.mmSortItems[mode]->isChecked(), mode == 6) << mode;
    }
    EXPECT_FALSE(browser->thumbView()->hiQuality());
    EXPECT_TRUE(browser->thumbView()->useCatalog());
    EXPECT_FALSE(browser->thumbView()->useCatalogFirst());
    hub().graphicLoader().doAnalyze = false;

    menu.mmExecOnClick->trigger();
    EXPECT_FALSE(conf.execOnClick);
}

TEST_F(BrowserTest, AltAloneOpensTheMenuAboveTheStatusBar) {
    BrowserWindow* browser = openBrowser();
    const ThumbPopupMenu& menu = browser->popupMenu();
    QWidget* focus = &browser->tree();
    QTest::keyPress(focus, Qt::Key_Alt);
    QTest::keyPress(focus, Qt::Key_E, Qt::AltModifier);
    QTest::keyRelease(focus, Qt::Key_E, Qt::AltModifier);
    QTest::keyRelease(focus, Qt::Key_Alt);
    EXPECT_FALSE(menu.menu->isVisible()) << "Alt with another key";

    QTest::keyPress(focus, Qt::Key_Alt);
    QTest::keyRelease(focus, Qt::Key_Alt, Qt::AltModifier);
    ASSERT_TRUE(menu.menu->isVisible());
    EXPECT_TRUE(browser->statusBar().menuButtonDown());
    const QPoint bar = browser->statusBar().mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(menu.menu->geometry().left(), bar.x());
    EXPECT_LE(menu.menu->geometry().bottom(), bar.y());
    menu.menu->hide();
    EXPECT_FALSE(browser->statusBar().menuButtonDown());

    QTest::keyPress(focus, Qt::Key_Menu);
    QTest::keyRelease(focus, Qt::Key_Menu);
    EXPECT_TRUE(menu.menu->isVisible());
    menu.menu->hide();
}

TEST_F(BrowserTest, TheMenuButtonOpensTheMenu) {
    BrowserWindow* browser = openBrowser();
    auto* bar = const_cast<BrowserStatusBar*>(&browser->statusBar());
    const QRect button = bar->menuButtonRect();
    QTest::mousePress(bar, Qt::RightButton, {}, button.center());
    EXPECT_FALSE(browser->popupMenu().menu->isVisible());
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(button.right() + 20, button.center().y()));
    EXPECT_FALSE(browser->popupMenu().menu->isVisible()) << "beside the button";
    QTest::mousePress(bar, Qt::LeftButton, {}, button.center());
    EXPECT_TRUE(browser->popupMenu().menu->isVisible());
    browser->popupMenu().menu->hide();
}

TEST_F(BrowserTest, TheTreeDocksOnTheSideItIsDroppedOn) {
    hub().settings().thumbForm.treeWidth = 150;
    BrowserWindow* browser = openBrowser();
    EXPECT_FALSE(browser->treeOnLeft()) << "right by default";
    auto* grip = browser->findChild<GripPanel*>();
    ASSERT_NE(grip, nullptr);
    auto* splitter = browser->findChild<QSplitter*>();
    const QPoint gripPoint(5, 5);
    // Drop at the base panel's left quarter: the tree goes left and keeps its width.
    const QPoint leftQuarter = grip->mapFromGlobal(
        browser->mapToGlobal(QPoint(browser->width() / 4, browser->height() / 2)));
    QTest::mousePress(grip, Qt::LeftButton, {}, gripPoint);
    QTest::mouseRelease(grip, Qt::LeftButton, {}, leftQuarter);
    EXPECT_TRUE(browser->treeOnLeft());
    EXPECT_EQ(splitter->indexOf(browser->tree().parentWidget()), 0);
    EXPECT_EQ(browser->tree().width(), 150);

    const QPoint rightQuarter = grip->mapFromGlobal(
        browser->mapToGlobal(QPoint(browser->width() * 3 / 4, browser->height() / 2)));
    QTest::mousePress(grip, Qt::LeftButton, {}, gripPoint);
    QTest::mouseRelease(grip, Qt::LeftButton, {}, rightQuarter);
    EXPECT_FALSE(browser->treeOnLeft());
    EXPECT_EQ(splitter->indexOf(browser->tree().parentWidget()), 1);
    EXPECT_EQ(browser->tree().width(), 150);

    EXPECT_TRUE(dockLeftAt(100, 400, 299));
    EXPECT_FALSE(dockLeftAt(100, 400, 300));
}

TEST_F(BrowserTest, AWindowStoredOffTheMonitorComesBack) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    hub().settings().thumbForm.bounds = {screen.right() + 1, screen.bottom() + 50,
                                         screen.right() + 601, screen.bottom() + 450};
    BrowserWindow* browser = openBrowser();
    EXPECT_EQ(browser->frameGeometry(), QRect(0, 0, 600, 400));

    EXPECT_EQ(keptOnMonitor(QRect(1279, 799, 10, 10), QRect(0, 0, 1280, 800)),
              QRect(1279, 799, 10, 10));
    EXPECT_EQ(keptOnMonitor(QRect(1280, 5, 10, 10), QRect(0, 0, 1280, 800)), QRect(0, 5, 10, 10));
    EXPECT_EQ(keptOnMonitor(QRect(-900, 800, 10, 10), QRect(0, 0, 1280, 800)),
              QRect(-900, 0, 10, 10))
        << "only the right and the bottom edge count";
}

// The tree shows the folder the browser shows, however far down its list it is.
TEST_F(BrowserTest, TheTreeScrollsToTheFolderShown) {
    for (int i = 0; i < 200; ++i) {
        std::filesystem::create_directory(folder() + "f" + std::to_string(100 + i));
    }
    hub().settings().lastDir = folder() + "f299/";
    hub().settings().thumbForm.bounds = {0, 0, 500, 300};
    BrowserWindow* browser = openBrowser();
    QCoreApplication::processEvents();
    const ShellDirTree& tree = browser->tree();
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_EQ(tree.currentItem()->text(0), "f299");
    const QRect item = tree.visualItemRect(tree.currentItem());
    EXPECT_TRUE(item.top() >= 0 && item.bottom() < tree.viewport()->height())
        << "item at " << item.top() << " of " << tree.viewport()->height();
}

// A stored window larger than the screen's work area (a scale change since) shrinks to it
// on each side that is too large; the status bar stays in reach.
TEST_F(BrowserTest, AWindowStoredLargerThanTheScreenShrinksToTheWorkArea) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    hub().settings().thumbForm.bounds = {area.left() + 10, area.top() + 20,
                                         area.left() + 10 + area.width() * 2,
                                         area.top() + 20 + area.height() / 2};
    BrowserWindow* browser = openBrowser();
    EXPECT_EQ(browser->frameGeometry(),
              QRect(area.left(), area.top() + 20, area.width(), area.height() / 2));

    const QRect workArea(0, 30, 1280, 770);
    EXPECT_EQ(shrunkToWorkArea(QRect(100, 100, 600, 400), workArea), QRect(100, 100, 600, 400));
    EXPECT_EQ(shrunkToWorkArea(QRect(100, 100, 600, 900), workArea), QRect(100, 30, 600, 770));
    EXPECT_EQ(shrunkToWorkArea(QRect(-50, 40, 2000, 1000), workArea), QRect(0, 30, 1280, 770));
}

}  // namespace
}  // namespace ravinel::testing
