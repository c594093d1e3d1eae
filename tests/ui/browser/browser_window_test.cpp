#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "browser/img_tn_view.h"
#include "browser/shell_dir_tree.h"
#include "common/file_list_view.h"
#include "tests/ui/browser/browser_window_fixture.h"

namespace ravinel::testing {
namespace {

// The status bar's texts and the caption each time the bar paints.
class PaintRecorder : public QObject {
  public:
    explicit PaintRecorder(BrowserWindow* browser) : browser_(browser) {
        label_ = browser->statusBar().findChildren<QLabel*>().at(1);
        label_->installEventFilter(this);
    }
    std::vector<std::vector<QString>> seen;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint) {
            seen.push_back({browser_->windowTitle(), browser_->statusBar().text(1),
                            browser_->statusBar().text(2), browser_->statusBar().text(3)});
        }
        return false;
    }

  private:
    BrowserWindow* browser_;
    QLabel* label_;
};

using Row = std::vector<QString>;

TEST_F(BrowserTest, StatusCountsDownToCompleteOneFileAStep) {
    writeJpegs(250);
    BrowserWindow* browser = openBrowser();
    EXPECT_EQ(browser->currentFolder(), folder());
    EXPECT_EQ(browser->windowTitle(), "Ravinel");
    EXPECT_EQ(panel(browser, 0), QString::fromUtf8("メニュー"));
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("未作成サムネイル数 250"));
    EXPECT_EQ(panel(browser, 2), QString::fromUtf8("ファイル数 250"));
    EXPECT_EQ(panel(browser, 3), QString::fromStdString(folder()));
    ASSERT_NE(browser->thumbView(), nullptr);
    EXPECT_EQ(browser->thumbView()->count(), 250);

    int steps = 0;
    bool done = false;
    while (!done && steps < 1000) {
        const int before = browser->thumbView()->madeCount();
        done = browser->appIdle();
        ++steps;
        const int made = browser->thumbView()->madeCount();
        ASSERT_LE(made - before, 1) << "one file a step";
        if (made > before && made < 250) {
            ASSERT_EQ(panel(browser, 1),
                      QString::fromUtf8("未作成サムネイル数 ") + QString::number(250 - made));
        }
    }
    EXPECT_EQ(browser->thumbView()->madeCount(), 250);
    EXPECT_GE(steps, 250);
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("サムネイル作成完了"));
    EXPECT_EQ(sharedList().item(249).info.kind, GraphicKind::gkJpeg);
}

// Runs the idle steps as the browser's handler would, waiting for the workers whenever
// the steps rest before every thumbnail is in place: each step places one file at most,
// and the status counts down with them. The number of steps that placed one.
int idleUntilAllMade(BrowserWindow* browser) {
    const int count = browser->thumbView()->count();
    int placing = 0;
    for (int steps = 0; steps < 100000; ++steps) {
        const int before = browser->thumbView()->madeCount();
        const bool done = browser->appIdle();
        const int made = browser->thumbView()->madeCount();
        EXPECT_LE(made - before, 1) << "one file a step";
        placing += made - before;
        if (made > before && made < count) {
            EXPECT_EQ(browser->statusBar().text(1),
                      QString::fromUtf8("未作成サムネイル数 ") + QString::number(count - made));
        }
        if (done && made == count) {
            break;
        }
        if (done) {
            // A worker's thumbnail wakes the loop.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    return placing;
}

// What the browser's thumbnails end as: each file's record and the tiles of the page.
struct Shown {
    std::vector<std::tuple<GraphicKind, uint16_t, uint16_t, uint8_t>> records;
    std::vector<QImage> tiles;
    bool operator==(const Shown&) const = default;
};

Shown shownBy(const BrowserWindow* browser, const DirFilesInfo& list) {
    Shown shown;
    for (int i = 0; i < list.count(); ++i) {
        const GraphicLoadInfo& info = list.item(i).info;
        shown.records.emplace_back(info.kind, info.width, info.height, info.pixelFormat);
    }
    for (int k = 0; k < browser->thumbView()->tileCount(); ++k) {
        shown.tiles.push_back(browser->thumbView()->tileAt(k)->image());
    }
    return shown;
}

// Workers make the thumbnails and the idle steps put them in place: the status ends as
// with one thread, on the same tiles. A sort, a switch of views and closing the window
// while jobs run drop what those jobs make.
TEST_F(BrowserTest, WorkersEndWhereOneThreadEnds) {
    hub().settings().thumbConf.useSharedCache = false;
    writeJpegs(60, 320, 200);
    fixtures::toDib(fixtures::gradientPicture(90, 140)).saveToFile(folder() + "scan.bmp");
    writeBytes("notes.txt", 40);
    writeBytes("cut.jpg", 3);
    BrowserWindow* browser = openBrowser();
    IdleDispatcher::instance().clearHandler();
    EXPECT_EQ(idleUntilAllMade(browser), 63);
    const Shown oneThread = shownBy(browser, sharedList());
    ASSERT_EQ(oneThread.records.size(), 63u);
    EXPECT_EQ(std::get<0>(oneThread.records[0]), GraphicKind::gkFile);  // cut.jpg
    EXPECT_EQ(std::get<0>(oneThread.records[2]), GraphicKind::gkJpeg);
    EXPECT_EQ(std::get<0>(oneThread.records[62]), GraphicKind::gkBmp);
    delete browser;

    setProcessThreads(3);
    browser = openBrowser();
    const ThumbPopupMenu& menu = browser->popupMenu();
    menu.mmSortItems[1]->trigger();
    menu.mmReport->trigger();
    menu.mmThumb->trigger();
    menu.mmSortItems[0]->trigger();
    browser->close();  // freed on close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    browser = openBrowser();
    IdleDispatcher::instance().clearHandler();
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("未作成サムネイル数 63"));
    EXPECT_EQ(idleUntilAllMade(browser), 63);
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("サムネイル作成完了"));
    EXPECT_EQ(browser->thumbView()->madeCount(), 63);
    EXPECT_TRUE(shownBy(browser, sharedList()) == oneThread);
}

TEST_F(BrowserTest, ReadingShowsItsStagesWhileItRuns) {
    writeJpegs(3);
    BrowserWindow* browser = openBrowser();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(browser));
    PaintRecorder recorder(browser);
    browser->popupMenu().mmRefreshFile->trigger();
    const QString loading = QString::fromUtf8("読み込み中");
    const QString path = QString::fromStdString(folder());
    ASSERT_GE(recorder.seen.size(), 2u);
    EXPECT_EQ(recorder.seen[0], (Row{loading, QString::fromUtf8("ファイル情報取得中"), "", path}));
    EXPECT_EQ(recorder.seen[1], (Row{loading, QString::fromUtf8("ファイル情報ソート中"),
                                     QString::fromUtf8("ファイル数 3"), path}));
    EXPECT_EQ(browser->windowTitle(), "Ravinel");
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("未作成サムネイル数 3"));
}

TEST_F(BrowserTest, EmptyAndMissingFoldersShowNoFiles) {
    BrowserWindow* browser = openBrowser();
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("ファイルなし"));
    EXPECT_EQ(panel(browser, 2), QString::fromUtf8("ファイル数 0"));
    EXPECT_TRUE(browser->appIdle()) << "nothing to make";
    delete browser;

    hub().settings().lastDir = folder() + "missing/deeper/";
    browser = openBrowser();
    // The tree stops at the deepest folder that exists.
    EXPECT_EQ(browser->currentFolder(), folder());
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("ファイルなし"));
}

TEST_F(BrowserTest, TheShownFolderIsReadAgainOnlyByRefreshAndSort) {
    writeJpegs(4);
    BrowserWindow* browser = openBrowser();
    for (int i = 0; i < 4; ++i) {
        browser->appIdle();
    }
    ASSERT_EQ(browser->thumbView()->madeCount(), 4);
    writeJpegs(6);
    browser->treeClick();  // the same folder: nothing
    EXPECT_EQ(sharedList().count(), 4);
    EXPECT_EQ(browser->thumbView()->madeCount(), 4);

    browser->popupMenu().mmRefreshFile->trigger();
    EXPECT_EQ(sharedList().count(), 6);
    EXPECT_EQ(browser->thumbView()->madeCount(), 0) << "every thumbnail is made again";
    EXPECT_EQ(panel(browser, 1), QString::fromUtf8("未作成サムネイル数 6"));

    writeJpegs(7);
    browser->popupMenu().mmSortItems[1]->trigger();
    EXPECT_EQ(sharedList().count(), 7) << "a sort reads the folder again";
}

TEST_F(BrowserTest, RefreshingTheTreeKeepsTheFolderAndItsFiles) {
    writeJpegs(2);
    BrowserWindow* browser = openBrowser();
    std::filesystem::create_directory(folder() + "new");
    writeJpegs(3);
    browser->popupMenu().mmRefreshTree->trigger();
    EXPECT_EQ(browser->tree().getPath(), folder());
    EXPECT_EQ(browser->currentFolder(), folder());
    EXPECT_EQ(sharedList().count(), 2) << "the files are not read again";
    const QTreeWidgetItem* node = browser->tree().currentItem();
    ASSERT_NE(node, nullptr);
    ASSERT_EQ(node->childCount(), 1) << "the new folder is in the rebuilt tree";
    EXPECT_EQ(node->child(0)->text(0), "new");
}

TEST_F(BrowserTest, SortCommandsReorderAndAreKept) {
    writeBytes("b.txt", 30);
    writeBytes("a.txt", 10);
    writeBytes("c.txt", 20);
    BrowserWindow* browser = openBrowser();
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));

    const ThumbPopupMenu& menu = browser->popupMenu();
    menu.mmSortItems[5]->trigger();  // size, largest first
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"b.txt", "c.txt", "a.txt"}));
    EXPECT_EQ(hub().settings().thumbConf.sortMode, SortMode::smSizeDown);
    EXPECT_TRUE(menu.mmSortItems[5]->isChecked());
    EXPECT_FALSE(menu.mmSortItems[0]->isChecked());

    menu.mmSortItems[1]->trigger();  // name, Z to A
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"c.txt", "b.txt", "a.txt"}));
    menu.mmSortItems[4]->trigger();
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"a.txt", "c.txt", "b.txt"}));
    EXPECT_EQ(browser->thumbView()->count(), 3);
}

TEST_F(BrowserTest, SwitchingViewsKeepsTheListAndRestartsThumbnails) {
    writeJpegs(5);
    BrowserWindow* browser = openBrowser();
    browser->appIdle();
    browser->appIdle();
    const ThumbPopupMenu& menu = browser->popupMenu();

    menu.mmReport->trigger();
    ASSERT_NE(browser->reportView(), nullptr);
    EXPECT_EQ(browser->thumbView(), nullptr);
    EXPECT_TRUE(menu.mmReport->isChecked());
    EXPECT_FALSE(menu.mmThumb->isChecked());
    EXPECT_EQ(browser->reportView()->count(), 5);
    EXPECT_EQ(panel(browser, 1), "");
    EXPECT_EQ(panel(browser, 2), QString::fromUtf8("ファイル数 5"));
    EXPECT_TRUE(browser->appIdle()) << "no thumbnails made for the report list";

    // Catalog choices while the list is shown only change the settings.
    menu.mmUseVixCat->trigger();
    EXPECT_TRUE(hub().settings().thumbConf.useVixCat);
    EXPECT_TRUE(menu.mmUseVixCatFirst->isEnabled());

    menu.mmThumb->trigger();
    ASSERT_NE(browser->thumbView(), nullptr);
    EXPECT_EQ(browser->reportView(), nullptr);
    EXPECT_TRUE(browser->thumbView()->useCatalog());
    EXPECT_EQ(browser->thumbView()->count(), 5);
    EXPECT_EQ(browser->thumbView()->madeCount(), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(sharedList().item(i).info.kind, GraphicKind::gkNone) << i;
    }
    browser->appIdle();
    EXPECT_NE(sharedList().item(0).info.kind, GraphicKind::gkNone) << "from the first file";
    EXPECT_EQ(sharedList().item(1).info.kind, GraphicKind::gkNone);

    // The view already shown is built anew (the new one may take the old one's address).
    const QPointer<ImgTnView> before = browser->thumbView();
    menu.mmThumb->trigger();
    EXPECT_TRUE(before.isNull());
    ASSERT_NE(browser->thumbView(), nullptr);
    EXPECT_TRUE(menu.mmThumb->isChecked());
    EXPECT_EQ(browser->thumbView()->madeCount(), 0);
}

TEST_F(BrowserTest, ChoicesReachTheShownViewAndTheSettings) {
    BrowserWindow* browser = openBrowser();
    const ThumbPopupMenu& menu = browser->popupMenu();
    ImgTnView* view = browser->thumbView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->hiQuality());
    menu.mmThumbQLow->trigger();
    EXPECT_FALSE(view->hiQuality());
    EXPECT_FALSE(hub().settings().thumbConf.hiQuality);
    EXPECT_FALSE(menu.mmThumbQHi->isChecked());

    EXPECT_FALSE(menu.mmUseVixCatFirst->isEnabled());
    menu.mmUseVixCat->trigger();
    EXPECT_TRUE(view->useCatalog());
    EXPECT_TRUE(menu.mmUseVixCatFirst->isEnabled());
    menu.mmUseVixCatFirst->trigger();  // on by default: now off
    EXPECT_FALSE(view->useCatalogFirst());
    EXPECT_FALSE(hub().settings().thumbConf.useVixCatFirst);
    menu.mmUseVixCat->trigger();
    EXPECT_FALSE(menu.mmUseVixCatFirst->isEnabled());

    menu.mmAnalyzeHeader->trigger();
    EXPECT_TRUE(hub().graphicLoader().doAnalyze);
    EXPECT_TRUE(hub().settings().loaderFlags.doAnalyze);
    menu.mmAnalyzeHeader->trigger();
    EXPECT_FALSE(hub().graphicLoader().doAnalyze);
}

TEST_F(BrowserTest, OpeningAPictureGivesAnImageWindow) {
    writeJpegs(3, 40, 30);
    writeBytes("notes.txt", 5);
    BrowserWindow* browser = openBrowser();
    browser->openSelected();  // nothing selected
    EXPECT_TRUE(imageWindows().empty());

    // Sorted by name: notes.txt, p000.jpg, p001.jpg, p002.jpg.
    browser->thumbView()->select(2);
    browser->openSelected();
    std::vector<ImageWindow*> windows = imageWindows();
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0]->fileName(), "p001.jpg");
    EXPECT_EQ(windows[0]->dirFilesInfo().count(), 4) << "the shared list goes along";
    EXPECT_EQ(browser->windowTitle(), "Ravinel");

    browser->thumbView()->select(0);  // notes.txt: no window, no message
    browser->openSelected();
    EXPECT_EQ(imageWindows().size(), 1u);

    browser->popupMenu().mmReport->trigger();
    browser->reportView()->select(3);
    emit browser->reportView()->openRequested();
    windows = imageWindows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_TRUE(windows[0]->fileName() == "p002.jpg" || windows[1]->fileName() == "p002.jpg");
}

TEST_F(BrowserTest, LinkFilesLeadTheTreeToTheirTarget) {
    std::filesystem::create_directory(folder() + "sub");
    std::filesystem::create_directory(folder() + "other");
    std::ofstream(folder() + "other/x.txt") << "x";
    std::ofstream(folder() + "sub/to-other.desktop")
        << "[Desktop Entry]\nType=Link\nURL=file://" << folder() << "other\n";
    std::ofstream(folder() + "sub/to-file.desktop")
        << "[Desktop Entry]\nType=Link\nURL=file://" << folder() << "other/x.txt\n";
    std::ofstream(folder() + "sub/nowhere.desktop")
        << "[Desktop Entry]\nType=Link\nURL=file://" << folder() << "gone\n";
    hub().settings().lastDir = folder() + "sub/";
    BrowserWindow* browser = openBrowser();
    ASSERT_EQ(listedNames(),
              (std::vector<std::string>{"nowhere.desktop", "to-file.desktop", "to-other.desktop"}));

    browser->thumbView()->select(0);
    browser->openSelected();
    EXPECT_EQ(browser->currentFolder(), folder() + "sub/") << "a missing target does nothing";

    browser->thumbView()->select(2);
    browser->openSelected();
    EXPECT_EQ(browser->tree().getPath(), folder() + "other/");
    EXPECT_EQ(browser->currentFolder(), folder() + "other/");
    EXPECT_EQ(listedNames(), (std::vector<std::string>{"x.txt"}));

    hub().settings().lastDir = folder() + "sub/";
    delete browser;
    browser = openBrowser();
    browser->thumbView()->select(1);
    browser->openSelected();
    EXPECT_EQ(browser->currentFolder(), folder() + "other/") << "a file's folder";
    EXPECT_TRUE(imageWindows().empty());
}

TEST_F(BrowserTest, ClosingWritesTheLayoutBackIntoTheHub) {
    writeJpegs(2);
    std::filesystem::create_directory(folder() + "sub");
    Settings& settings = hub().settings();
    settings.thumbForm.bounds = {30, 40, 830, 640};
    settings.thumbForm.treeAlign = 3;
    settings.thumbForm.treeWidth = 200;
    settings.thumbForm.viewStyle = 1;
    BrowserWindow* browser = openBrowser();
    EXPECT_TRUE(browser->treeOnLeft());
    EXPECT_EQ(browser->tree().width(), 200);
    EXPECT_NE(browser->reportView(), nullptr);
    EXPECT_TRUE(browser->popupMenu().mmReport->isChecked());
    EXPECT_EQ(browser->frameGeometry(), QRect(30, 40, 800, 600));
    EXPECT_TRUE(hub().browserShowing());

    settings = Settings{};
    browser->tree().setPath(folder() + "sub/");
    browser->treeClick();
    browser->move(50, 60);
    browser->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    EXPECT_FALSE(hub().browserShowing());
    EXPECT_EQ(settings.lastDir, folder() + "sub/");
    EXPECT_EQ(settings.thumbForm.treeAlign, 3);
    EXPECT_EQ(settings.thumbForm.treeWidth, 200);
    EXPECT_EQ(settings.thumbForm.viewStyle, 1);
    EXPECT_FALSE(settings.thumbForm.maximized);
    EXPECT_EQ(settings.thumbForm.bounds, (Rect{50, 60, 850, 660}));
    // The last window gone: the hub's end-of-run handler waits for the next idle moment.
    EXPECT_TRUE(IdleDispatcher::instance().hasHandler());
}

TEST_F(BrowserTest, ClosingBesideAnImageWindowLeavesTheRunGoing) {
    writeJpegs(1, 40, 30);
    BrowserWindow* browser = openBrowser();
    EXPECT_TRUE(IdleDispatcher::instance().hasHandler()) << "the idle steps";
    browser->thumbView()->select(0);
    browser->openSelected();
    ASSERT_EQ(imageWindows().size(), 1u);
    browser->close();
    EXPECT_FALSE(IdleDispatcher::instance().hasHandler());
    EXPECT_EQ(hub().settings().thumbForm.viewStyle, 0);
    EXPECT_EQ(hub().settings().thumbForm.treeAlign, 4);
}

TEST_F(BrowserTest, TheHubOpensTheBrowserOnTheLastFolder) {
    writeJpegs(2);
    hub().settings().lastDir = "";
    hub().dispatchCommandLine(folder());
    BrowserWindow* browser = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<BrowserWindow*>(widget)) {
            browser = found;
        }
    }
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(hub().browserShowing());
    EXPECT_EQ(browser->currentFolder(), folder());
    EXPECT_EQ(sharedList().count(), 2);
}

}  // namespace
}  // namespace ravinel::testing
