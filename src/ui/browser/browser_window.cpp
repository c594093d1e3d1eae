#include "browser/browser_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <iostream>

#include "browser/browser_status_bar.h"
#include "browser/grip_panel.h"
#include "browser/img_tn_view.h"
#include "browser/shell_dir_tree.h"
#include "codec/graphic_loader.h"
#include "common/file_list_view.h"
#include "common/idle_dispatcher.h"
#include "common/window_on_monitor.h"
#include "common/window_opener.h"
#include "settings/settings.h"
#include "settings/settings_limits.h"

namespace ravinel {

namespace {

constexpr int kClientWidth = 778;  // the window's size before the settings apply
constexpr int kClientHeight = 561;
constexpr int kSplitterWidth = 8;
constexpr int kTwinMinimumWidth = 32;
constexpr int32_t kAlignLeft = 3;  // the settings' TreeAlign values
constexpr int32_t kAlignRight = 4;

int toLogical(int32_t devicePixels, qreal ratio) {
    return static_cast<int>(std::lround(devicePixels / ratio));
}

}  // namespace

BrowserWindow::BrowserWindow(AppContext& context) : context_(context), menu_(this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Ravinel");
    if (QWidget* active = QApplication::activeWindow()) {
        setScreen(active->screen());
    }
    resize(kClientWidth, kClientHeight);
    buildLayout();
    connectCommands();
    formCreate();
    // Key preview: the window sees the keys of every child first.
    qApp->installEventFilter(this);
}

// The view goes before the memo, which its workers may still be filling.
BrowserWindow::~BrowserWindow() {
    freeView();
}

void BrowserWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    basePanel_ = new QFrame(this);
    basePanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* baseLayout = new QVBoxLayout(basePanel_);
    baseLayout->setContentsMargins(0, 0, 0, 0);
    splitter_ = new QSplitter(Qt::Horizontal, basePanel_);
    splitter_->setHandleWidth(kSplitterWidth);
    splitter_->setChildrenCollapsible(false);
    baseLayout->addWidget(splitter_);

    movingPanel_ = new QFrame;
    movingPanel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* movingLayout = new QVBoxLayout(movingPanel_);
    movingLayout->setContentsMargins(0, 0, 0, 0);
    movingLayout->setSpacing(0);
    tree_ = new ShellDirTree(movingPanel_);
    tree_->setFrameShape(QFrame::NoFrame);
    movingLayout->addWidget(tree_);
    gripPanel_ = new GripPanel(movingPanel_, movingPanel_);
    movingLayout->addWidget(gripPanel_);

    twinPanel_ = new QWidget;
    twinPanel_->setMinimumWidth(kTwinMinimumWidth);
    auto* twinLayout = new QVBoxLayout(twinPanel_);
    twinLayout->setContentsMargins(0, 0, 0, 0);

    splitter_->addWidget(twinPanel_);
    splitter_->addWidget(movingPanel_);
    layout->addWidget(basePanel_, 1);

    statusBar_ = new BrowserStatusBar(this);
    layout->addWidget(statusBar_);
    tree_->setFont(statusBar_->font());
}

void BrowserWindow::formCreate() {
    busy_ = true;
    Settings& settings = context_.settings();
    const ThumbConf& conf = settings.thumbConf;
    (conf.hiQuality ? menu_.mmThumbQHi : menu_.mmThumbQLow)->setChecked(true);
    menu_.mmAnalyzeHeader->setChecked(context_.graphicLoader().doAnalyze);
    menu_.mmExecOnClick->setChecked(conf.execOnClick);
    menu_.mmUseVixCat->setChecked(conf.useVixCat);
    menu_.mmUseVixCatFirst->setEnabled(conf.useVixCat);
    menu_.mmUseVixCatFirst->setChecked(conf.useVixCatFirst);
    menu_.tickSortMode(conf.sortMode);

    placeWindow();
    const ThumbFormConf& form = settings.thumbForm;
    dockTree(form.treeAlign == kAlignLeft);
    // The tree's width comes with the window's own: lay the window out first.
    layout()->activate();
    const int panelWidth = drawableWidth(form.treeWidth) + 2 * movingPanel_->frameWidth();
    const int twinWidth =
        std::max(kTwinMinimumWidth, splitter_->width() - kSplitterWidth - panelWidth);
    splitter_->setSizes(treeOnLeft_ ? QList<int>{panelWidth, twinWidth}
                                    : QList<int>{twinWidth, panelWidth});

    if (form.viewStyle != 0) {
        menu_.mmReport->setChecked(true);
        createReportView();
    } else {
        menu_.mmThumb->setChecked(true);
        createThumbView();
    }

    busy_ = false;
    currentFolder_ = settings.lastDir;
    tree_->setPath(settings.lastDir);
    mmRefreshFileClick();
}

void BrowserWindow::placeWindow() {
    const Rect bounds = drawableWindowRect(context_.settings().thumbForm.bounds);
    const QRect stored(QPoint(bounds.left, bounds.top),
                       QPoint(bounds.right - 1, bounds.bottom - 1));
    const QScreen* screen = nearestScreen(stored);
    placedBounds_ = screen == nullptr ? stored
                                      : shrunkToWorkArea(keptOnMonitor(stored, screen->geometry()),
                                                         screen->availableGeometry());
    // The stored rectangle holds the frame. Until this window has one, the frame is taken
    // to be the one measured on earlier windows (in device pixels).
    const ScreenMetrics metrics = context_.getScreenMetrics(this);
    const qreal ratio = devicePixelRatioF();
    resize(std::max(1, placedBounds_.width() - toLogical(metrics.frameX, ratio)),
           std::max(1, placedBounds_.height() - toLogical(metrics.frameY, ratio)));
    move(placedBounds_.topLeft());
    setWindowState(context_.settings().thumbForm.maximized ? Qt::WindowMaximized
                                                           : Qt::WindowNoState);
}

void BrowserWindow::fitFrameToBounds() {
    if (placedBounds_.isNull() || isMaximized() || frameGeometry() == placedBounds_) {
        return;
    }
    const QSize frame = frameGeometry().size() - size();
    resize(std::max(1, placedBounds_.width() - frame.width()),
           std::max(1, placedBounds_.height() - frame.height()));
    move(placedBounds_.topLeft());
}

bool BrowserWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !placedBounds_.isNull()) {
        // By now a window manager has framed the window: the last chance to fit it.
        guarded([this] { fitFrameToBounds(); });
        placedBounds_ = QRect();
    }
    return QWidget::event(event);
}

void BrowserWindow::dockTree(bool left) {
    const QList<int> sizes = splitter_->sizes();
    const int panelWidth = movingPanel_->width();
    treeOnLeft_ = left;
    splitter_->insertWidget(left ? 0 : 1, movingPanel_);
    // The free space goes to the view; the tree keeps its width.
    splitter_->setStretchFactor(left ? 0 : 1, 0);
    splitter_->setStretchFactor(left ? 1 : 0, 1);
    if (sizes.size() == 2 && sizes[0] + sizes[1] > 0) {
        const int total = sizes[0] + sizes[1];
        splitter_->setSizes(left ? QList<int>{panelWidth, total - panelWidth}
                                 : QList<int>{total - panelWidth, panelWidth});
    }
}

void BrowserWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        fitFrameToBounds();
        // A window manager frames the window only after it is shown.
        QTimer::singleShot(0, this, [this] { guarded([this] { fitFrameToBounds(); }); });
        attachIdleHandler();
    }
}

void BrowserWindow::attachIdleHandler() {
    // Guarded: a handler still installed after the window is gone does nothing.
    IdleDispatcher::instance().setHandler(
        [window = QPointer<BrowserWindow>(this)] { return window ? window->appIdle() : true; });
}

void BrowserWindow::closeEvent(QCloseEvent* event) {
    guarded([this] { formClose(); });
    event->accept();
}

void BrowserWindow::formClose() {
    IdleDispatcher::instance().clearHandler();
    Settings& settings = context_.settings();
    ThumbFormConf& form = settings.thumbForm;
    if (!isMaximized()) {
        form.maximized = false;
        const QRect frame = frameGeometry();
        form.bounds = {frame.left(), frame.top(), frame.left() + frame.width(),
                       frame.top() + frame.height()};
    } else {
        form.maximized = true;
    }
    form.treeAlign = treeOnLeft_ ? kAlignLeft : kAlignRight;
    form.treeWidth = tree_->width();
    form.viewStyle = menu_.mmReport->isChecked() ? 1 : 0;
    settings.lastDir = currentFolder_;
    WindowOpener& windows = context_.windows();
    windows.setBrowserShowing(false);
    windows.windowClosing(this);
}

bool BrowserWindow::eventFilter(QObject* watched, QEvent* event) {
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key && widget != nullptr && widget->window() == this && filterKey(event)) {
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool BrowserWindow::filterKey(QEvent* event) {
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    if (event->type() == QEvent::KeyPress) {
        // Alt opens the menu only when released with no other key pressed meanwhile.
        if (key != Qt::Key_Alt) {
            altAlone_ = false;
        } else if (!keyEvent->isAutoRepeat()) {
            altAlone_ = true;
        }
        return key == Qt::Key_Menu;  // no context menu: the release opens ours
    }
    const Qt::KeyboardModifiers modifiers = keyEvent->modifiers();
    // Platforms differ on whether Alt's own release still reports the Alt modifier.
    const bool altReleasedAlone = key == Qt::Key_Alt && altAlone_ && !keyEvent->isAutoRepeat() &&
                                  (modifiers == Qt::NoModifier || modifiers == Qt::AltModifier);
    if (key == Qt::Key_Alt && !keyEvent->isAutoRepeat()) {
        altAlone_ = false;
    }
    if (altReleasedAlone || (key == Qt::Key_Menu && !keyEvent->isAutoRepeat())) {
        guarded([this] { popupAtStatusBar(); });
        return true;
    }
    return false;
}

void BrowserWindow::popupAtStatusBar() {
    statusBar_->setMenuButtonDown(true);
    // The menu opens upwards from the status bar's top-left corner.
    const QPoint corner = statusBar_->mapToGlobal(QPoint(0, 0));
    menu_.menu->popup(QPoint(corner.x(), corner.y() - menu_.menu->sizeHint().height()));
}

void BrowserWindow::movingPanelEndDock(QPoint globalPos) {
    const int baseLeft = basePanel_->mapToGlobal(QPoint(0, 0)).x();
    dockTree(dockLeftAt(baseLeft, basePanel_->width(), globalPos.x()));
}

void BrowserWindow::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& e) {
        // Qt must not see an exception; the window stays as it is.
        std::cerr << "ravinel: " << e.what() << "\n";
    }
}

}  // namespace ravinel
