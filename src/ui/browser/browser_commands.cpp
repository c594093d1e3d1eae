// The browser window's commands: folders, sorting, views, opening files, the idle step.
#include <QAction>
#include <QMenu>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "browse/dir_files_info.h"
#include "browse/link_target.h"
#include "browser/browser_status_bar.h"
#include "browser/browser_window.h"
#include "browser/grip_panel.h"
#include "browser/img_tn_view.h"
#include "browser/open_in_explorer.h"
#include "browser/shell_dir_tree.h"
#include "codec/graphic_loader.h"
#include "common/browser_status_texts.h"
#include "common/caption_scope.h"
#include "common/file_list_view.h"
#include "common/idle_dispatcher.h"
#include "common/launch_target.h"
#include "common/wait_cursor_scope.h"
#include "common/window_opener.h"
#include "platform/file_extension.h"
#include "platform/parallel_bands.h"
#include "plugin_host/spis.h"
#include "settings/settings.h"

namespace ravinel {

namespace {

// Clears a flag when the block it guards ends, also by an exception.
class BusyScope {
  public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& flag_;
};

}  // namespace

void BrowserWindow::connectCommands() {
    const auto bind = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this,
                [this, command = std::move(command)] { guarded(command); });
    };
    ThumbPopupMenu& m = menu_;
    bind(m.mmExecOnClick,
         [this] { context_.settings().thumbConf.execOnClick = menu_.mmExecOnClick->isChecked(); });
    bind(m.mmAnalyzeHeader, [this] {
        const bool on = menu_.mmAnalyzeHeader->isChecked();
        context_.graphicLoader().doAnalyze = on;
        context_.settings().loaderFlags.doAnalyze = on;
    });
    bind(m.mmUseVixCat, [this] { mmUseVixCatClick(); });
    bind(m.mmUseVixCatFirst, [this] { mmUseVixCatFirstClick(); });
    bind(m.mmThumbQHi, [this] { mmThumbQualityClick(true); });
    bind(m.mmThumbQLow, [this] { mmThumbQualityClick(false); });
    bind(m.mmOption, [this] { mmOptionClick(); });
    bind(m.mmExplorer, [this] { mmExplorerClick(); });
    for (uint8_t index = 0; index < m.mmSortItems.size(); ++index) {
        bind(m.mmSortItems[index], [this, index] { mmSortFile(modeOfIndex<SortMode>(index)); });
    }
    bind(m.mmRefreshFile, [this] { mmRefreshFileClick(); });
    bind(m.mmRefreshTree, [this] { mmRefreshTreeClick(); });
    bind(m.mmThumb, [this] { mmThumbClick(); });
    bind(m.mmReport, [this] { mmReportClick(); });
    bind(m.mmExit, [this] { close(); });

    connect(m.menu, &QMenu::aboutToHide, this, [this] { statusBar_->setMenuButtonDown(false); });
    connect(statusBar_, &BrowserStatusBar::menuButtonPressed, this,
            [this] { guarded([this] { popupAtStatusBar(); }); });
    connect(tree_, &ShellDirTree::folderClicked, this,
            [this] { guarded([this] { treeClick(); }); });
    connect(gripPanel_, &GripPanel::dropped, this,
            [this](QPoint pos) { guarded([this, pos] { movingPanelEndDock(pos); }); });
}

void BrowserWindow::mmUseVixCatClick() {
    ThumbConf& conf = context_.settings().thumbConf;
    conf.useVixCat = menu_.mmUseVixCat->isChecked();
    menu_.mmUseVixCatFirst->setEnabled(conf.useVixCat);
    if (thumbView_ != nullptr) {
        thumbView_->setUseCatalog(conf.useVixCat);
        if (conf.useVixCat) {
            thumbView_->updateCatalog();
        }
    }
}

void BrowserWindow::mmUseVixCatFirstClick() {
    ThumbConf& conf = context_.settings().thumbConf;
    conf.useVixCatFirst = menu_.mmUseVixCatFirst->isChecked();
    if (thumbView_ != nullptr) {
        thumbView_->setUseCatalogFirst(conf.useVixCatFirst);
    }
}

void BrowserWindow::mmThumbQualityClick(bool hiQuality) {
    context_.settings().thumbConf.hiQuality = hiQuality;
    if (thumbView_ != nullptr) {
        thumbView_->setHiQuality(hiQuality);
    }
}

// The idle step rests while the options window runs; the list is then shown anew, with
// the tile look the window may have changed.
void BrowserWindow::mmOptionClick() {
    IdleDispatcher::instance().clearHandler();
    if (thumbView_ != nullptr) {
        thumbView_->stopMaking();
    }
    const auto attach = qScopeGuard([this] { attachIdleHandler(); });
    context_.windows().showOptions();
    mmRefreshFileClick();
}

void BrowserWindow::mmExplorerClick() {
    openInExplorer(tree_->getPath());
}

void BrowserWindow::mmSortFile(SortMode mode) {
    menu_.tickSortMode(mode);
    context_.settings().thumbConf.sortMode = mode;
    currentFolder_.clear();
    treeClick();
}

void BrowserWindow::mmRefreshFileClick() {
    currentFolder_.clear();
    treeClick();
}

void BrowserWindow::mmRefreshTreeClick() {
    BusyScope busy(busy_);
    tree_->rebuildTree();
    tree_->setPath(currentFolder_);
}

void BrowserWindow::freeView() {
    delete thumbView_;
    thumbView_ = nullptr;
    delete reportView_;
    reportView_ = nullptr;
}

void BrowserWindow::createThumbView() {
    const Settings& settings = context_.settings();
    const ThumbConf& conf = settings.thumbConf;
    thumbView_ = new ImgTnView(twinPanel_, settings.thumbPanel, context_.iconCache(),
                               context_.graphicLoader());
    thumbView_->setHiQuality(conf.hiQuality);
    thumbView_->setUseCatalog(conf.useVixCat);
    thumbView_->setUseCatalogFirst(conf.useVixCatFirst);
    thumbView_->setUseSharedCache(conf.useSharedCache);
    thumbView_->setThumbMemo(&thumbMemo_);
    thumbView_->setCatalogHomeDir(conf.vixHomeDir);
    thumbView_->setUse3DNow(settings.viewConf.use3DNow);
    thumbView_->setThumbColorBit(context_.screenBitsPerPixel());
    thumbView_->setMakingThreads(processThreads(), &context_.spis(), context_.pluginLock());
    thumbView_->setFocusPolicy(Qt::StrongFocus);
    connect(thumbView_, &ImgTnView::doubleClicked, this,
            [this] { guarded([this] { openSelected(); }); });
    twinPanel_->layout()->addWidget(thumbView_);
}

void BrowserWindow::createReportView() {
    reportView_ = new FileListView(twinPanel_, &context_.iconCache());
    reportView_->setFrameShape(QFrame::NoFrame);
    connect(reportView_, &FileListView::openRequested, this,
            [this] { guarded([this] { openSelected(); }); });
    twinPanel_->layout()->addWidget(reportView_);
    showPanel1({});
}

void BrowserWindow::mmThumbClick() {
    tree_->setFocus();
    freeView();
    createThumbView();
    thumbView_->setFiles(context_.dirFilesInfo());
    thumbView_->setFocus();
    menu_.mmThumb->setChecked(true);
}

void BrowserWindow::mmReportClick() {
    tree_->setFocus();
    freeView();
    createReportView();
    reportView_->setFiles(&context_.dirFilesInfo());
    reportView_->setFocus();
    menu_.mmReport->setChecked(true);
}

void BrowserWindow::showStatus(const QString& panel1, const QString& panel2,
                               const QString& panel3) {
    statusBar_->setUpdatesEnabled(false);
    statusBar_->setText(1, panel1);
    statusBar_->setText(2, panel2);
    statusBar_->setText(3, panel3);
    statusBar_->setUpdatesEnabled(true);
}

void BrowserWindow::showPanel1(const QString& text) {
    statusBar_->setUpdatesEnabled(false);
    statusBar_->setText(1, text);
    statusBar_->setUpdatesEnabled(true);
}

void BrowserWindow::treeClick() {
    if (busy_) {
        return;
    }
    const std::string path = tree_->getPath();
    if (path == currentFolder_) {
        return;
    }
    BusyScope busy(busy_);
    currentFolder_ = path;
    CaptionScope caption(this, browser_texts::loading());
    showStatus(browser_texts::readingFiles(), {}, QString::fromStdString(currentFolder_));
    statusBar_->repaint();
    DirFilesInfo& list = context_.dirFilesInfo();
    try {
        list.setDir("");
        list.setDir(currentFolder_);
        showStatus(browser_texts::sortingFiles(), fileCountText(list.count()),
                   QString::fromStdString(currentFolder_));
        statusBar_->repaint();
        list.sort(modeIndex(context_.settings().thumbConf.sortMode));
    } catch (const std::exception&) {
        // The views below get the list as it stands: they hold items of the old one.
        showFiles();
        throw;
    }
    showFiles();
}

// Hands the shared list to the view shown; its items replaced the ones the view held.
void BrowserWindow::showFiles() {
    DirFilesInfo& list = context_.dirFilesInfo();
    showPanel1(thumbView_ != nullptr ? sortedThumbsText(list.count()) : QString());
    if (thumbView_ != nullptr) {
        thumbView_->setThumbPanel(context_.settings().thumbPanel);
        thumbView_->setCatalogHomeDir(context_.settings().thumbConf.vixHomeDir);
        thumbView_->setUseSharedCache(context_.settings().thumbConf.useSharedCache);
        thumbView_->setFiles(list);
        thumbView_->setFocus();
    } else if (reportView_ != nullptr) {
        reportView_->setFiles(&list);
        reportView_->setFocus();
    }
}

bool BrowserWindow::appIdle() {
    if (!menu_.mmThumb->isChecked() || thumbView_ == nullptr) {
        return true;
    }
    bool done = true;
    guarded([this, &done] {
        if (thumbView_->makeNextThumb()) {
            showPanel1(remainingThumbsText(thumbView_->count(), thumbView_->madeCount()));
        }
        done = thumbView_->drawNextTile();
    });
    return done;
}

void BrowserWindow::openSelected() {
    const DirFilesInfo& list = context_.dirFilesInfo();
    const FileInfoItem* item = nullptr;
    if (thumbView_ != nullptr && thumbView_->itemIndex() >= 0 &&
        thumbView_->itemIndex() < list.count()) {
        item = &list.item(thumbView_->itemIndex());
    } else if (reportView_ != nullptr) {
        item = reportView_->selectedItem();
    }
    if (item == nullptr) {
        return;
    }
    const std::string path = list.dir() + item->name;
    const std::string extension = upperExtension(item->name);
    // Link files name a folder or a file to go to; a symbolic link opens as its target.
    if (extension == ".LNK" || extension == ".DESKTOP") {
        followShortcut(path);
    } else {
        openFile(path);
    }
}

void BrowserWindow::followShortcut(const std::string& path) {
    const std::string target = getLinkTarget(path);
    if (target.empty()) {
        return;
    }
    std::error_code error;
    const auto status = std::filesystem::status(target, error);
    std::string folder;
    if (std::filesystem::is_directory(status)) {
        folder = target.back() == '/' ? target : target + "/";
    } else if (std::filesystem::exists(status)) {
        folder = folderPart(target);
    } else {
        return;
    }
    tree_->setPath(folder);
    // Show the folder the tree now points at, as a click on it would.
    treeClick();
}

void BrowserWindow::openFile(const std::string& path) {
    CaptionScope caption(this, browser_texts::loading());
    WaitCursorScope waitCursor;
    context_.windows().openFileOrArchive(path, menu_.mmAnalyzeHeader->isChecked());
}

}  // namespace ravinel
