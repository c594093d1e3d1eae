// The image window's commands: navigation, reload, zoom steps and the popup menu.
#include <QAction>
#include <QActionGroup>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "codec/graphic_loader.h"
#include "common/dib_image.h"
#include "common/wait_cursor_scope.h"
#include "common/window_opener.h"
#include "settings/settings.h"
#include "settings/settings_limits.h"
#include "viewer/image_window.h"
#include "viewer/view_texts.h"
#include "viewer/zoom_step.h"

namespace ravinel {

namespace {

// Menu texts come from file names, where "&" is a plain character.
QString menuText(const std::string& text) {
    return QString::fromStdString(text).replace('&', QStringLiteral("&&"));
}

}  // namespace

void ImageWindow::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception&) {
        // Qt must not see an exception; the window keeps its last picture.
        updateTitle();
    }
}

PictureEntry ImageWindow::entryAt(int32_t index) const {
    if (sourceKind_ == SourceKind::archive) {
        return {index, archiveName_, arcFilesInfo_.item(index).name};
    }
    return {index, folder_ + dirFilesInfo_.item(index).name, ""};
}

void ImageWindow::setShownEntry(const PictureEntry& entry) {
    if (entry.member.empty()) {
        fileName_ = entry.path.substr(folder_.size());
    } else {
        fileName_ = entry.member.substr(entry.member.rfind('/') + 1);
        memberName_ = entry.member;
    }
}

bool ImageWindow::loadAt(int32_t index) {
    QElapsedTimer timer;
    timer.start();
    // A failed attempt must leave the shown picture and its size intact.
    NkDib picture;
    GraphicLoadInfo info;
    PictureEntry entry;
    FileStamp stamp;
    try {
        WaitCursorScope wait;
        if (sourceKind_ != SourceKind::none) {
            entry = entryAt(index);
            stamp = fileStampOf(entry.path);
            loadEntry(context_.graphicLoader(), entry, picture, info);
        }
    } catch (const std::exception&) {
        info = GraphicLoadInfo{};  // an unreadable archive or an index off the list
    }
    if (!info.succeeded() || info.height == 0) {
        loadTime_ = 0;
        return false;
    }
    if (index != fileIndex_) {
        retireShown();
    }
    shownStamp_ = stamp;
    process_.source = std::move(picture);
    process_.loadInfo = info;
    setShownEntry(entry);
    loadTime_ = static_cast<uint32_t>(timer.elapsed());
    return true;
}

bool ImageWindow::takePrepared(int32_t index) {
    if (sourceKind_ == SourceKind::none || index < 0 || index > lastIndex_) {
        return false;
    }
    const PictureEntry entry = entryAt(index);
    // The inputs the display that follows will use.
    noteChangedFrameExtents();
    std::optional<PreparedPicture> prepared =
        preloader_.take(entry, context_.graphicLoader(), displayInputs());
    if (!prepared) {
        return false;
    }
    retireShown();
    shownStamp_ = prepared->stamp;
    process_.source = std::move(prepared->source);
    process_.loadInfo = prepared->loadInfo;
    process_.dest = std::move(prepared->dest);
    process_.destWidth = prepared->destWidth;
    process_.destHeight = prepared->destHeight;
    processedAhead_ = true;
    setShownEntry(entry);
    loadTime_ = prepared->loadTime;
    return true;
}

void ImageWindow::retireShown() {
    if (!std::exchange(shownValid_, false) || sourceKind_ == SourceKind::none) {
        return;
    }
    PreparedPicture shown;
    shown.entry = sourceKind_ == SourceKind::archive
                      ? PictureEntry{fileIndex_, archiveName_, memberName_}
                      : PictureEntry{fileIndex_, folder_ + fileName_, ""};
    shown.stamp = shownStamp_;
    shown.source = std::move(process_.source);
    shown.loadInfo = process_.loadInfo;
    shown.dest = std::move(process_.dest);
    shown.destWidth = process_.destWidth;
    shown.destHeight = process_.destHeight;
    shown.loadTime = shownLoadTime_;
    preloader_.offer(std::move(shown), context_.graphicLoader(), shownInputs_);
}

DisplayInputs ImageWindow::displayInputs() {
    const ScreenMetrics metrics = freshMetrics();
    return {process_.settings, viewForm_, metrics, frameless()};
}

void ImageWindow::schedulePreload() {
    const int32_t count = preloadCountLimit(context_.settings().preloadCount);
    if (sourceKind_ == SourceKind::none || count == 0) {
        preloader_.clear();
        return;
    }
    // Files that do not load (text files beside the pictures) the worker passes each way.
    constexpr int32_t kPassed = 8;
    std::vector<PictureEntry> after;
    for (int32_t i = fileIndex_ + 1; i <= std::min(lastIndex_, fileIndex_ + count + kPassed); ++i) {
        after.push_back(entryAt(i));
    }
    std::vector<PictureEntry> before;
    for (int32_t i = std::min(fileIndex_, lastIndex_ + 1) - 1;
         i >= std::max(0, fileIndex_ - count - kPassed); --i) {
        before.push_back(entryAt(i));
    }
    preloader_.prepare(context_.graphicLoader(), displayInputs(), std::move(after),
                       std::move(before), count);
}

void ImageWindow::showAt(int32_t index) {
    fileIndex_ = index;
    redisplay();
}

void ImageWindow::vaNextExecute() {
    for (int32_t i = fileIndex_ + 1; i <= lastIndex_; ++i) {
        if (takePrepared(i) || loadAt(i)) {
            showAt(i);
            return;
        }
    }
}

void ImageWindow::vaPriorExecute() {
    for (int32_t i = std::min(fileIndex_ - 1, lastIndex_); i >= 0; --i) {
        if (takePrepared(i) || loadAt(i)) {
            showAt(i);
            return;
        }
    }
}

void ImageWindow::vaFirstExecute() {
    for (int32_t i = 0; i <= lastIndex_; ++i) {
        if (takePrepared(i) || loadAt(i)) {
            showAt(i);
            return;
        }
    }
}

void ImageWindow::vaLastExecute() {
    for (int32_t i = lastIndex_; i >= 0; --i) {
        if (takePrepared(i) || loadAt(i)) {
            showAt(i);
            return;
        }
    }
}

void ImageWindow::vaThumbViewExecute() {
    WindowOpener& windows = context_.windows();
    if (!windows.browserShowing()) {
        context_.settings().lastDir = folder_;
        windows.openBrowser();
    }
    updateActions();
}

void ImageWindow::updateActions() {
    menu_.vaNext->setEnabled(fileIndex_ < lastIndex_);
    menu_.vaPrior->setEnabled(fileIndex_ > 0);
    menu_.vaFirst->setEnabled(fileIndex_ > 0);
    menu_.vaLast->setEnabled(fileIndex_ < lastIndex_);
    menu_.vaThumbView->setEnabled(!context_.windows().browserShowing());
}

void ImageWindow::vpReopenClick() {
    if (loadAt(fileIndex_)) {
        redisplay();
    }
}

void ImageWindow::showZoomStep(const ZoomStep& step) {
    if (step.kind == ZoomStep::Kind::rate) {
        redisplayAtRate(step.rate);
    } else if (step.kind == ZoomStep::Kind::longSide) {
        redisplayAtLongSide(step.longSide);
    }
}

void ImageWindow::vpSizeUpClick() {
    showZoomStep(zoomInStep(process_.destWidth, process_.destHeight, process_.loadInfo.width,
                            process_.loadInfo.height));
}

void ImageWindow::vpSizeDownClick() {
    showZoomStep(zoomOutStep(process_.destWidth, process_.destHeight, process_.loadInfo.width,
                             process_.loadInfo.height));
}

void ImageWindow::vpSizeModeClick(SizeMode sizeMode) {
    (sizeMode == SizeMode::ownSize ? menu_.vpSizeOrgMode : menu_.vpSizeFitMode)->setChecked(true);
    viewForm_.sizeMode = sizeMode;
    redisplay();
}

void ImageWindow::vpRateClick(double rate) {
    menu_.vpSizeRateMode->setChecked(true);
    viewForm_.sizeMode = SizeMode::fixedRate;
    viewForm_.sizeRate = rate;
    redisplay();
}

void ImageWindow::vpRateCustomClick() {
    menu_.vpSizeRateMode->setChecked(true);
    viewForm_.sizeMode = SizeMode::fixedRate;
    if (process_.loadInfo.height != 0) {
        viewForm_.sizeRate = static_cast<double>(process_.destHeight) / process_.loadInfo.height;
    }
}

void ImageWindow::vpFixedClick(uint16_t size) {
    menu_.vpSizeFixedMode->setChecked(true);
    viewForm_.sizeMode = SizeMode::fixedLongSide;
    viewForm_.sizeFixed = size;
    redisplay();
}

void ImageWindow::vpFixedCustomClick() {
    menu_.vpSizeFixedMode->setChecked(true);
    viewForm_.sizeMode = SizeMode::fixedLongSide;
    viewForm_.sizeFixed = std::max(process_.destWidth, process_.destHeight);
}

void ImageWindow::vpWinPosClick(PosMode posMode) {
    const std::array<QAction*, 3> items = {menu_.vpWinPosL, menu_.vpWinPosC, menu_.vpWinPosR};
    items[modeIndex(posMode)]->setChecked(true);
    viewForm_.posMode = posMode;
    noteChangedFrameExtents();
    // Only the window moves: the picture is not processed again.
    placeFor(process_.destWidth, process_.destHeight, freshMetrics());
}

void ImageWindow::vpColorClick(uint8_t colorMode) {
    menu_.vpColor[colorMode]->setChecked(true);
    process_.settings.colorMode = modeOfIndex<ColorMode>(colorMode);
    redisplay();
}

void ImageWindow::vpReductMethodClick(uint8_t method) {
    menu_.vpReductMethod[method]->setChecked(true);
    process_.settings.reductMode = modeOfIndex<ResizeMethod>(method);
    redisplay();
}

void ImageWindow::vpExpandMethodClick(uint8_t method) {
    menu_.vpExpandMethod[method]->setChecked(true);
    process_.settings.expandMode = modeOfIndex<ResizeMethod>(method);
    redisplay();
}

void ImageWindow::vpFilterChoiceClick(const FilterChoiceItems& items, FilterPhase& setting,
                                      FilterPhase phase) {
    // Takes effect at the next display, like the other filter choices.
    setting = phase;
    ViewPopupMenu::tickFilterChoice(items, phase);
}

void ImageWindow::vpOgsizeToggle(QAction* item, FilterPhase& setting) {
    setting = item->isChecked() ? FilterPhase::fpAfter : FilterPhase::fpNone;
}

void ImageWindow::vpNoFrameClick() {
    const bool noFrame = menu_.vpNoFrame->isChecked();
    context_.settings().viewForm.frameless = noFrame;
    // The replacement takes the new defaults; this window goes only once it stands.
    bool opened = false;
    if (sourceKind_ == SourceKind::folder) {
        opened = context_.windows().openImageFile(folder_ + fileName_, dirFilesInfo_, true);
    } else if (sourceKind_ == SourceKind::archive) {
        opened = context_.windows().openArchiveMember(archiveName_, memberName_, arcFilesInfo_);
    }
    if (opened) {
        close();
    }
}

void ImageWindow::vpPlayClick() {
    player_.setPlaying(menu_.vpPlay->isChecked());
}

void ImageWindow::vpSetDefaultClick() {
    // The display sequence overwrites dither with the screen's need; the default is the
    // user's own choice.
    process_.settings.dither = dither_;
    Settings& defaults = context_.settings();
    defaults.viewConf = process_.settings;
    defaults.viewForm = viewForm_;
}

void ImageWindow::vpCopyViewClick() {
    QGuiApplication::clipboard()->setImage(
        dibToImage(player_.animated() ? player_.shown() : process_.dest));
}

void ImageWindow::vpInfoPathClick() {
    QGuiApplication::clipboard()->setText(QString::fromStdString(folder_ + fileName_));
}

void ImageWindow::popupMenuPopup() {
    updateActions();
    QMenu* info = menu_.vpInfo;
    info->clear();
    // clear() leaves the entries' own submenus alive.
    qDeleteAll(info->findChildren<QMenu*>(Qt::FindDirectChildrenOnly));

    InfoState state;
    state.fileName = fileName_;
    state.archiveSource = sourceKind_ == SourceKind::archive;
    state.fullPath = folder_ + fileName_;
    state.archiveName = archiveName_;
    state.loadInfo = process_.loadInfo;
    state.rateText = rateText_;
    state.colorModeName = process_.colorModeName();
    state.destWidth = process_.destWidth;
    state.destHeight = process_.destHeight;
    state.loadTimeText = loadTimeText_;
    state.showTimeText = showTimeText_;
    state.frameCount = process_.loadInfo.frameCount;
    for (const InfoEntry& entry : infoEntries(state)) {
        if (entry.separator) {
            info->addSeparator();
        } else if (entry.subItem.empty()) {
            info->addAction(menuText(entry.caption));
        } else {
            QMenu* sub = info->addMenu(menuText(entry.caption));
            QAction* item = sub->addAction(menuText(entry.subItem));
            if (entry.copiesPath) {
                connect(item, &QAction::triggered, this,
                        [this] { guarded([this] { vpInfoPathClick(); }); });
            }
        }
    }
}

void ImageWindow::openPopupAt(const QPoint& globalPosition) {
    menu_.menu->popup(globalPosition);
}

void ImageWindow::connectCommands() {
    const auto bind = [this](QAction* action, std::function<void()> command) {
        connect(action, &QAction::triggered, this,
                [this, command = std::move(command)] { guarded(command); });
    };
    ViewPopupMenu& m = menu_;
    connect(m.menu, &QMenu::aboutToShow, this, [this] { guarded([this] { popupMenuPopup(); }); });

    bind(m.vaNext, [this] { vaNextExecute(); });
    bind(m.vaPrior, [this] { vaPriorExecute(); });
    bind(m.vaFirst, [this] { vaFirstExecute(); });
    bind(m.vaLast, [this] { vaLastExecute(); });
    bind(m.vaThumbView, [this] { vaThumbViewExecute(); });
    bind(m.vpClose, [this] { close(); });
    bind(m.vpReopen, [this] { vpReopenClick(); });
    bind(m.vpSizeUp, [this] { vpSizeUpClick(); });
    bind(m.vpSizeDown, [this] { vpSizeDownClick(); });

    bind(m.vpSizeOrgMode, [this] { vpSizeModeClick(SizeMode::ownSize); });
    bind(m.vpSizeFitMode, [this] { vpSizeModeClick(SizeMode::fitScreen); });
    bind(m.vpRateCustom, [this] { vpRateCustomClick(); });
    bind(m.vpRate200, [this] { vpRateClick(2); });
    bind(m.vpRate150, [this] { vpRateClick(1.5); });
    bind(m.vpRate75, [this] { vpRateClick(0.75); });
    bind(m.vpRate50, [this] { vpRateClick(0.5); });
    bind(m.vpFixedCustom, [this] { vpFixedCustomClick(); });
    bind(m.vpFixed640, [this] { vpFixedClick(640); });
    bind(m.vpFixed320, [this] { vpFixedClick(320); });

    bind(m.vpWinPosL, [this] { vpWinPosClick(PosMode::left); });
    bind(m.vpWinPosC, [this] { vpWinPosClick(PosMode::centre); });
    bind(m.vpWinPosR, [this] { vpWinPosClick(PosMode::right); });
    for (uint8_t i = 0; i < m.vpColor.size(); ++i) {
        bind(m.vpColor[i], [this, i] { vpColorClick(i); });
    }
    bind(m.vpNoFrame, [this] { vpNoFrameClick(); });
    bind(m.vpPlay, [this] { vpPlayClick(); });
    for (uint8_t i = 0; i < m.vpReductMethod.size(); ++i) {
        bind(m.vpReductMethod[i], [this, i] { vpReductMethodClick(i); });
        bind(m.vpExpandMethod[i], [this, i] { vpExpandMethodClick(i); });
    }

    GProcessSettings& s = process_.settings;
    const std::array<FilterPhase*, 3> reduct = {&s.fltInReduct.noise, &s.fltInReduct.normalize,
                                                &s.fltInReduct.sharp};
    const std::array<FilterPhase*, 3> expand = {&s.fltInExpand.noise, &s.fltInExpand.normalize,
                                                &s.fltInExpand.sharp};
    const std::array<FilterPhase*, 3> ogsize = {&s.fltInOgsize.noise, &s.fltInOgsize.normalize,
                                                &s.fltInOgsize.sharp};
    const auto bindChoices = [&](const FilterChoiceItems& items, FilterPhase* setting) {
        bind(items.before, [this, &items, setting] {
            vpFilterChoiceClick(items, *setting, FilterPhase::fpBefore);
        });
        bind(items.after, [this, &items, setting] {
            vpFilterChoiceClick(items, *setting, FilterPhase::fpAfter);
        });
        bind(items.none, [this, &items, setting] {
            vpFilterChoiceClick(items, *setting, FilterPhase::fpNone);
        });
    };
    for (size_t i = 0; i < 3; ++i) {
        bindChoices(m.vpReductFilter[i], reduct[i]);
        bindChoices(m.vpExpandFilter[i], expand[i]);
        QAction* toggle = m.vpOgsizeFilter[i];
        FilterPhase* setting = ogsize[i];
        bind(toggle, [this, toggle, setting] { vpOgsizeToggle(toggle, *setting); });
    }

    bind(m.vpSetDefault, [this] { vpSetDefaultClick(); });
    bind(m.vpCopyView, [this] { vpCopyViewClick(); });
}

}  // namespace ravinel
