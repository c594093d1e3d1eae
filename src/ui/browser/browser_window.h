#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "browse/thumb_memo.h"
#include "browser/thumb_popup_menu.h"
#include "common/app_context.h"

class QFrame;
class QSplitter;

namespace ravinel {

class BrowserStatusBar;
class FileListView;
class GripPanel;
class ImgTnView;
class ShellDirTree;

// The browser window: the folder tree on one side and, beside it, the thumbnails or the
// report list of the folder picked in the tree. It lists folders into the context's
// shared file list, reads and writes the context's settings, hands the files it opens to
// the window opener and makes thumbnails in the application's idle time. Every command
// is in one popup menu, opened from the status bar's menu button, Alt, the menu key, or
// by shortcut.
class BrowserWindow : public QWidget {
    Q_OBJECT

  public:
    // Lays the window out from the context's settings and shows the folder LastDir
    // names. The context outlives the window.
    explicit BrowserWindow(AppContext& context);
    ~BrowserWindow() override;

    // Shows the folder selected in the tree, unless it is shown already or a folder is
    // being read.
    void treeClick();
    // Opens the selected file: a link's target folder in the tree, anything else through
    // the window opener in an image window.
    void openSelected();
    // One idle step: at most one file examined and one tile drawn. True when no more idle
    // work is wanted.
    bool appIdle();

    // What the commands work on.
    const ThumbPopupMenu& popupMenu() const { return menu_; }
    const BrowserStatusBar& statusBar() const { return *statusBar_; }
    ShellDirTree& tree() const { return *tree_; }
    // The view shown: exactly one of them is not null.
    ImgTnView* thumbView() const { return thumbView_; }
    FileListView* reportView() const { return reportView_; }
    const std::string& currentFolder() const { return currentFolder_; }
    bool treeOnLeft() const { return treeOnLeft_; }

  protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr size_t kThumbMemoBytes = size_t{64} << 20;
    // Building.
    void buildLayout();
    void formCreate();
    void placeWindow();
    void fitFrameToBounds();
    void dockTree(bool left);
    void createThumbView();
    void createReportView();
    void freeView();
    void connectCommands();

    // Commands.
    void mmUseVixCatClick();
    void mmUseVixCatFirstClick();
    void mmThumbQualityClick(bool hiQuality);
    void mmOptionClick();
    void mmExplorerClick();
    void mmSortFile(SortMode mode);
    void mmRefreshFileClick();
    void mmRefreshTreeClick();
    void mmThumbClick();
    void mmReportClick();
    void followShortcut(const std::string& path);
    void openFile(const std::string& path);
    void showStatus(const QString& panel1, const QString& panel2, const QString& panel3);
    void showPanel1(const QString& text);
    void showFiles();

    // The menu, keys and docking.
    void popupAtStatusBar();
    bool filterKey(QEvent* event);
    void movingPanelEndDock(QPoint globalPos);

    void formClose();
    void attachIdleHandler();
    // A command must never take the window down with it.
    void guarded(const std::function<void()>& command);

    AppContext& context_;
    bool busy_ = false;
    bool altAlone_ = false;
    bool treeOnLeft_ = false;
    std::string currentFolder_;
    // The stored window rectangle, frame included, until the window manager's frame is
    // known; null afterwards.
    QRect placedBounds_;

    BrowserStatusBar* statusBar_ = nullptr;
    QFrame* basePanel_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QFrame* movingPanel_ = nullptr;
    ShellDirTree* tree_ = nullptr;
    GripPanel* gripPanel_ = nullptr;
    QWidget* twinPanel_ = nullptr;
    ImgTnView* thumbView_ = nullptr;
    // The thumbnails of the views this window made, for a sort or the next view.
    ThumbMemo thumbMemo_{kThumbMemoBytes};
    FileListView* reportView_ = nullptr;
    ThumbPopupMenu menu_;
};

}  // namespace ravinel
