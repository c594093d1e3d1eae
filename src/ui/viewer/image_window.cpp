#include "viewer/image_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <exception>
#include <iostream>
#include <utility>

#include "codec/graphic_loader.h"
#include "common/dib_image.h"
#include "common/error_text.h"
#include "common/launch_target.h"
#include "common/window_opener.h"
#include "plugin_host/spis.h"
#include "settings/settings.h"
#include "viewer/display_geometry.h"
#include "viewer/view_texts.h"

namespace ravinel {

namespace {

int toLogical(int32_t devicePixels, qreal ratio) {
    return static_cast<int>(std::lround(devicePixels / ratio));
}

int toDevice(int logicalPixels, qreal ratio) {
    return static_cast<int>(std::lround(logicalPixels * ratio));
}

uint32_t elapsedMs(const QElapsedTimer& timer) {
    return static_cast<uint32_t>(timer.elapsed());
}

}  // namespace

ImageWindow::ImageWindow(AppContext& context)
    : context_(context),
      preloader_(context.spis(), context.pluginLock(), context.preloadBudget()),
      menu_(this),
      player_(context.graphicLoader(), [this](const NkDib& frame) { showPicture(frame); }) {
    setAttribute(Qt::WA_DeleteOnClose);
    // A single border with system menu and minimise but no maximise, like a picture frame;
    // the window manager honours the buttons asked for only with CustomizeWindowHint.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    if (QWidget* active = QApplication::activeWindow()) {
        setScreen(active->screen());
    }
    setFocusPolicy(Qt::StrongFocus);

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setFocusPolicy(Qt::NoFocus);
    scrollArea_->setWidgetResizable(false);
    image_ = new QLabel;
    image_->setContextMenuPolicy(Qt::PreventContextMenu);
    scrollArea_->setWidget(image_);
    image_->installEventFilter(this);
    scrollArea_->viewport()->installEventFilter(this);
    resize(120, 101);

    process_.onProgress = [this](ProcessStage stage) { showStage(stage); };
    // Once the command that showed a picture has returned (a zoom step has put the
    // window's own size back) and the picture is painted.
    preloadTimer_ = new QTimer(this);
    preloadTimer_->setSingleShot(true);
    preloadTimer_->setInterval(0);
    connect(preloadTimer_, &QTimer::timeout, this,
            [this] { guarded([this] { schedulePreload(); }); });

    Settings& defaults = context_.settings();
    viewForm_ = defaults.viewForm;
    menu_.tickViewForm(viewForm_);
    // Qt paints every widget through a back buffer, so the window keeps WBuffer only to
    // hand it back as a default; it changes nothing on screen.
    if (viewForm_.frameless) {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    }

    process_.settings = defaults.viewConf;
    if (process_.settings.colorMode == ColorMode::full && context_.screenBitsPerPixel() < 16) {
        process_.settings.colorMode = ColorMode::halftone8;
    }
    menu_.tickProcessSettings(process_.settings);
    dither_ = process_.settings.dither;

    connectCommands();
}

ImageWindow::~ImageWindow() = default;

bool ImageWindow::open(const std::string& fileName, const DirFilesInfo& filesInfo) {
    return openWith(
        fileName,
        [&] {
            shownStamp_ = fileStampOf(fileName);
            context_.graphicLoader().loadFromFile(process_.source, fileName, false,
                                                  process_.loadInfo);
        },
        [&] {
            const std::string folder = folderPart(fileName);
            setFolderSource(folder, namePart(fileName));
            if (filesInfo.dir() == folder) {
                dirFilesInfo_.assign(filesInfo);
            } else {
                dirFilesInfo_.setDir(folder);
                dirFilesInfo_.sort(modeIndex(context_.settings().thumbConf.sortMode));
            }
        });
}

bool ImageWindow::open(const std::string& archiveName, const std::string& memberName,
                       const FilesInfo& filesInfo) {
    return openWith(
        archiveName + ": " + memberName,
        [&] {
            shownStamp_ = fileStampOf(archiveName);
            context_.graphicLoader().loadFromArchive(process_.source, archiveName, memberName,
                                                     false, process_.loadInfo);
        },
        [&] {
            setArchiveSource(archiveName, memberName);
            arcFilesInfo_.assign(filesInfo);
        });
}

bool ImageWindow::openWith(const std::string& what, const std::function<void()>& load,
                           const std::function<void()>& takeSource) {
    try {
        QElapsedTimer timer;
        timer.start();
        load();
        if (process_.loadInfo.succeeded()) {
            takeSource();
            loadTime_ = elapsedMs(timer);
            show();
            showFirstPicture();
            return true;
        }
    } catch (const std::exception& e) {
        // An archive that cannot be read: the hub tells the user why.
        std::cerr << "ravinel: " << what << ": " << e.what() << "\n";
        process_.loadInfo.noteFailure(LoadFailure::unreadableFile, errorText(e).toStdString());
    }
    // A picture that does not load closes its window again; the hub reports it.
    close();
    return false;
}

void ImageWindow::setFolderSource(const std::string& folder, const std::string& fileName) {
    sourceKind_ = SourceKind::folder;
    folder_ = folder;
    fileName_ = fileName;
    archiveName_.clear();
    memberName_.clear();
    dirFilesInfo_.setDir("");
}

void ImageWindow::setArchiveSource(const std::string& archiveName, const std::string& memberName) {
    sourceKind_ = SourceKind::archive;
    folder_ = archiveName.substr(0, archiveName.rfind('/') + 1);
    fileName_ = memberName.substr(memberName.rfind('/') + 1);
    archiveName_ = archiveName;
    memberName_ = memberName;
    arcFilesInfo_.clear();
}

bool ImageWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // The browser may have opened or closed while this window was in the background.
        updateActions();
        // A window manager has framed the window by the time it activates it.
        guarded([this] { replaceAfterFrameKnown(); });
    }
    return QWidget::event(event);
}

void ImageWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        guarded([this] { formShow(); });
        // The window manager puts its frame on only after the window is shown.
        QTimer::singleShot(0, this, [this] { guarded([this] { replaceAfterFrameKnown(); }); });
    }
}

void ImageWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    scrollArea_->setGeometry(rect());
}

void ImageWindow::formShow() {
    QElapsedTimer timer;
    timer.start();
    if (sourceKind_ == SourceKind::archive) {
        fileIndex_ = arcFilesInfo_.indexOf(memberName_);
        lastIndex_ = arcFilesInfo_.count() - 1;
    } else {
        fileIndex_ = dirFilesInfo_.indexOf(fileName_);
        lastIndex_ = dirFilesInfo_.count() - 1;
    }
    const ScreenMetrics metrics = freshMetrics();
    sizeForPicture(metrics);
    placeFor(process_.destWidth, process_.destHeight, metrics);
    showTime_ = elapsedMs(timer);
    updateActions();
}

void ImageWindow::showFirstPicture() {
    guarded([this] {
        QElapsedTimer timer;
        timer.start();
        shownInputs_ = {process_.settings, viewForm_, sizedWith_, frameless()};
        shownValid_ = executeProcess();
        showPicture(process_.dest);
        showTime_ += elapsedMs(timer);
        updateTitle();
        shownLoadTime_ = loadTime_;
        preloadTimer_->start();
        loadTime_ = 0;
        showTime_ = 0;
        restartPlayback();
    });
}

ScreenMetrics ImageWindow::freshMetrics() {
    const ScreenMetrics metrics = context_.getScreenMetrics(this);
    // Dithering to 16 bits only helps a 16-bit screen.
    process_.settings.dither = metrics.bitsPerPixel == 16 && dither_;
    return metrics;
}

void ImageWindow::sizeForPicture(const ScreenMetrics& metrics) {
    const int32_t width = process_.loadInfo.width;
    const int32_t height = process_.loadInfo.height;
    if (width == 0 || height == 0) {
        return;  // nothing loaded: keep the last size
    }
    sizedWith_ = metrics;
    const DisplaySize size = processedSize(width, height, viewForm_, metrics, frameless(),
                                           context_.graphicLoader().maxSide);
    process_.destWidth = size.width;
    process_.destHeight = size.height;
}

void ImageWindow::placeFor(int32_t displayWidth, int32_t displayHeight,
                           const ScreenMetrics& metrics) {
    const bool noFrame = frameless();
    const WindowBounds bounds =
        placeWindow(displayWidth, displayHeight, metrics, viewForm_.posMode, noFrame);
    // The bounds include the frame; Qt sizes the client area and moves the frame's corner.
    const int32_t clientWidth = noFrame ? bounds.width : bounds.width - metrics.frameX;
    const int32_t clientHeight = noFrame ? bounds.height : bounds.height - metrics.frameY;
    const qreal ratio = devicePixelRatioF();
    resize(std::max(1, toLogical(clientWidth, ratio)), std::max(1, toLogical(clientHeight, ratio)));
    move(toLogical(bounds.left, ratio), toLogical(bounds.top, ratio));
    placedWith_ = metrics;
}

bool ImageWindow::noteChangedFrameExtents() {
    if (frameless() || !isVisible()) {
        return false;
    }
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const qreal ratio = devicePixelRatioF();
    const int32_t frameWidth = toDevice(client.left() - frame.left(), ratio);
    const int32_t frameHeight = toDevice(frame.bottom() - client.bottom(), ratio);
    const int32_t frameY = toDevice(frame.height() - client.height(), ratio);
    // Only what the context keeps is compared, so an uneven frame cannot re-place forever.
    if (frameWidth == placedWith_.frameWidth && frameHeight == placedWith_.frameHeight &&
        frameY == placedWith_.frameY) {
        return false;
    }
    context_.noteFrameExtents(frameWidth, frameHeight, frameY);
    placedWith_.frameWidth = frameWidth;
    placedWith_.frameHeight = frameHeight;
    placedWith_.frameY = frameY;
    return true;
}

void ImageWindow::replaceAfterFrameKnown() {
    if (!noteChangedFrameExtents()) {
        return;
    }
    // The first window on a desktop is sized before its frame is known: where the frame
    // changes what fits (the fit mode), the picture is made again for the room left.
    const uint16_t shownWidth = process_.destWidth;
    const uint16_t shownHeight = process_.destHeight;
    const ScreenMetrics metrics = freshMetrics();
    sizeForPicture(metrics);
    if (process_.destWidth != shownWidth || process_.destHeight != shownHeight) {
        redisplay();
    } else {
        placeFor(shownWidth, shownHeight, metrics);
    }
}

bool ImageWindow::executeProcess() {
    try {
        process_.execute();
        return true;
    } catch (const std::exception&) {
        // The pipeline leaves its blank picture; the window stays usable.
        return false;
    }
}

void ImageWindow::showPicture(const NkDib& picture) {
    if (picture.width() <= 0 || picture.height() <= 0) {
        image_->clear();
        image_->resize(0, 0);
        return;
    }
    // One picture pixel to one device pixel: the pixmap carries the screen's ratio.
    QImage shown = dibToImage(picture);
    shown.setDevicePixelRatio(devicePixelRatioF());
    image_->setPixmap(QPixmap::fromImage(shown));
    image_->adjustSize();
}

void ImageWindow::redisplay() {
    QElapsedTimer timer;
    timer.start();
    setWindowTitle(QString());
    noteChangedFrameExtents();
    const ScreenMetrics metrics = freshMetrics();
    sizeForPicture(metrics);
    // A picture from the worker was processed with these very inputs.
    const bool processed = std::exchange(processedAhead_, false) || executeProcess();
    shownValid_ = processed;
    shownInputs_ = {process_.settings, viewForm_, sizedWith_, frameless()};
    // The old, possibly large, picture must not be drawn again at the new window size.
    image_->clear();
    placeFor(process_.destWidth, process_.destHeight, metrics);
    showPicture(process_.dest);
    showTime_ = elapsedMs(timer);
    updateTitle();
    update();
    if (loadTime_ != 0) {
        shownLoadTime_ = loadTime_;
    }
    preloadTimer_->start();
    loadTime_ = 0;
    showTime_ = 0;
    updateActions();
    restartPlayback();
}

void ImageWindow::restartPlayback() {
    // Frames are read again from the file; an archive member's bytes are gone by now.
    if (sourceKind_ == SourceKind::folder) {
        player_.start(folder_ + fileName_, process_.loadInfo.frameCount, process_,
                      menu_.vpPlay->isChecked());
    } else {
        player_.stop();
    }
    menu_.vpPlay->setEnabled(player_.animated());
}

void ImageWindow::redisplayAtRate(double rate) {
    const SizeMode sizeMode = viewForm_.sizeMode;
    const double sizeRate = viewForm_.sizeRate;
    viewForm_.sizeMode = SizeMode::fixedRate;
    viewForm_.sizeRate = rate;
    redisplay();
    viewForm_.sizeMode = sizeMode;
    viewForm_.sizeRate = sizeRate;
}

void ImageWindow::redisplayAtLongSide(int32_t size) {
    const SizeMode sizeMode = viewForm_.sizeMode;
    const uint16_t sizeFixed = viewForm_.sizeFixed;
    viewForm_.sizeMode = SizeMode::fixedLongSide;
    viewForm_.sizeFixed = static_cast<uint16_t>(std::clamp<int32_t>(size, 1, UINT16_MAX));
    redisplay();
    viewForm_.sizeMode = sizeMode;
    viewForm_.sizeFixed = sizeFixed;
}

void ImageWindow::showStage(ProcessStage stage) {
    setWindowTitle(QCoreApplication::translate("ProcessStage", processStageText(stage)));
}

void ImageWindow::updateTitle() {
    rateText_ = rateText(process_.destHeight, process_.loadInfo.height);
    setWindowTitle(QString::fromStdString(titleText(fileName_, fileIndex_, lastIndex_, rateText_)));
    loadTimeText_ = timeText(loadTime_);
    showTimeText_ = timeText(showTime_);
}

void ImageWindow::closeEvent(QCloseEvent* event) {
    player_.stop();
    // The worker uses the context's plug-in host and budget, which may go before the
    // window is deleted: it ends with the job under way now.
    preloader_.stop();
    context_.windows().windowClosing(this);
    event->accept();
}

}  // namespace ravinel
