#include "browser/img_tn_view.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "browse/place_image.h"
#include "browse/thumb_input.h"
#include "browse/tile_reuse.h"
#include "browse/vix_catalog.h"
#include "common/dib_image.h"
#include "common/settings_color.h"
#include "settings/settings_limits.h"

namespace ravinel {

ImgTnView::ImgTnView(QWidget* parent, const ThumbPanel& config, FileIconCache& icons,
                     GraphicLoader& loader)
    : QWidget(parent),
      config_(drawableThumbPanel(config)),
      nextConfig_(config_),
      icons_(icons),
      scrollBar_(new QScrollBar(Qt::Vertical, this)),
      maker_(loader),
      loader_(loader) {
    maker_.imageSize = config_.imageSize;
    scrollBar_->setMinimum(0);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, &ImgTnView::onScrollBar);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
}

ImgTnView::~ImgTnView() {
    // While the view is whole: a worker may be telling it of a thumbnail.
    workers_.reset();
}

void ImgTnView::setMakingThreads(unsigned threads, SpiHost* plugins, std::mutex& pluginLock) {
    workers_.reset();
    if (threads > 1) {
        // Wakes the idle steps, which sleep while nothing is finished.
        workers_ = std::make_unique<ThumbWorkers>(threads, plugins, pluginLock, [this] {
            QMetaObject::invokeMethod(
                this, [] {}, Qt::QueuedConnection);
        });
    }
}

void ImgTnView::stopMaking() {
    if (workers_) {
        workers_->stop();
    }
}

void ImgTnView::startWorkers() {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(count_));
    for (int32_t position = 0; position < count_; ++position) {
        names.push_back(itemAt(position).name);
    }
    workers_->start(maker_, loader_, std::move(names), std::max(firstVisible_, 0));
}

void ImgTnView::setThumbPanel(const ThumbPanel& config) {
    nextConfig_ = drawableThumbPanel(config);
}

void ImgTnView::setThumbColorBit(int bits) {
    maker_.thumbPixelFormat = thumbPixelFormatForScreenBits(bits);
}

QColor ImgTnView::colorOf(Color value) const {
    return settingsColor(value, QGuiApplication::palette());
}

double ImgTnView::pixelRatio() const {
    return std::max(devicePixelRatioF(), 1.0);
}

FileInfoItem& ImgTnView::itemAt(int32_t position) const {
    return list_->item(position);
}

// ---- Setting the list ----

void ImgTnView::setFiles(DirFilesInfo& list) {
    flags_ |= loading;
    config_ = nextConfig_;
    maker_.imageSize = config_.imageSize;
    list_ = &list;
    maker_.dir = list.dir();
    count_ = list.count();
    if (count_ == 0) {
        maker_.catalogPath.clear();
    } else if (maker_.useCatalog) {
        updateCatalog();
    }
    QPalette viewPalette = palette();
    viewPalette.setColor(QPalette::Window, colorOf(config_.pnlBkCol));
    setPalette(viewPalette);
    resetPage();
    if (count_ > 0) {
        layOut();
    }
    if (workers_) {
        startWorkers();
    }
    flags_ &= ~loading;
}

void ImgTnView::updateCatalog() {
    maker_.catalogPath = findCatalog(maker_.dir, catalogHomeDir_);
}

void ImgTnView::resetPage() {
    scrollBar_->hide();
    barShown_ = false;
    maker_.madeCount = 0;
    makeCursor_ = -1;
    drawCursor_ = -1;
    firstVisible_ = -1;
    lastVisible_ = -1;
    itemIndex_ = -1;
    scrollPos_ = 0;
    tiles_.clear();
    maker_.store.clear();
    for (int32_t position = 0; position < count_; ++position) {
        FileInfoItem& item = itemAt(position);
        item.thumbIndex = -1;
        item.info = GraphicLoadInfo{};
        item.hasTile = false;
    }
}

// ---- Geometry ----

int32_t ImgTnView::scrollBarWidth() const {
    return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
}

ThumbGrid ImgTnView::computeGrid() const {
    return thumbGrid(width(), height(), scrollBarWidth(), config_.panelW, config_.panelH, count_);
}

void ImgTnView::placeScrollBar() {
    const int32_t barWidth = scrollBarWidth();
    scrollBar_->setGeometry(width() - barWidth, 0, barWidth, height());
}

// The bar runs over the scroll positions; a page step moves by whole rows.
void ImgTnView::updateScrollBar() {
    barShown_ = grid_.scrolls();
    if (!barShown_) {
        scrollBar_->hide();
        return;
    }
    scrollBar_->setMaximum(grid_.maxScroll);
    scrollBar_->setSingleStep(config_.panelH);
    scrollBar_->setPageStep(std::max(grid_.largeChange, 1));
    placeScrollBar();
    scrollBar_->show();
    scrollBar_->raise();
}

void ImgTnView::storeVisible(const GridPage& page) {
    firstVisible_ = page.first;
    lastVisible_ = page.last;
}

void ImgTnView::placeTiles(int32_t offset) {
    const int32_t w = config_.panelW;
    const int32_t h = config_.panelH;
    for (int k = 0; k < tiles_.count(); ++k) {
        const TilePoint point = tilePoint(grid_, k, offset, w, h);
        ImgTnPanel* tile = tiles_.at(k);
        tile->setGeometry(point.left, point.top, w, h);
        tile->show();
    }
    scrollBar_->raise();
}

// Thumbnail making and drawing continue with the first item in sight.
void ImgTnView::restartCursors() {
    drawCursor_ = 0;
    idleDone_ = false;
    if (maker_.madeCount != count_) {
        makeCursor_ = count_ - 1 - firstVisible_;
        if (workers_) {
            workers_->preferFrom(firstVisible_);
        }
    }
}

void ImgTnView::layOut() {
    grid_ = computeGrid();
    updateScrollBar();
    scrollBar_->setValue(0);
    scrollPos_ = 0;
    const GridPage page = gridPageAt(grid_, 0, config_.panelH, count_);
    for (int32_t position = page.first; position <= page.last; ++position) {
        tiles_.add(createTile(itemAt(position)));
    }
    storeVisible(page);
    placeTiles(page.offset);
    drawCursor_ = 0;
    idleDone_ = true;
    makeCursor_ = count_ - 1;
}

void ImgTnView::rebuildPage(const GridPage& page) {
    std::vector<ImgTnPanel*> old = tiles_.takeAll();
    std::vector<int32_t> oldPositions(old.size());
    for (size_t k = 0; k < old.size(); ++k) {
        oldPositions[k] = firstVisible_ + static_cast<int32_t>(k);
    }
    const std::vector<int32_t> reuse = reusedTiles(oldPositions, page.first, page.last);
    for (size_t k = 0; k < reuse.size(); ++k) {
        if (reuse[k] >= 0) {
            tiles_.add(std::exchange(old[static_cast<size_t>(reuse[k])], nullptr));
        } else {
            tiles_.add(createTile(itemAt(page.first + static_cast<int32_t>(k))));
        }
    }
    for (ImgTnPanel* tile : old) {
        if (tile != nullptr) {
            tile->item()->hasTile = false;
            ImgTnPanelList::free(tile);
        }
    }
}

void ImgTnView::scrollTo(int32_t pos) {
    if (pos == scrollPos_) {
        return;
    }
    const GridPage page = gridPageAt(grid_, pos, config_.panelH, count_);
    if (page.first == firstVisible_ && page.last == lastVisible_) {
        scrollPos_ = pos;
        placeTiles(page.offset);
        return;
    }
    rebuildPage(page);
    storeVisible(page);
    placeTiles(page.offset);
    restartCursors();
    scrollPos_ = pos;
}

void ImgTnView::scrollWithFlag(int32_t pos) {
    flags_ |= scrolling;
    scrollTo(pos);
    scrollBar_->setValue(pos);
    flags_ &= ~scrolling;
}

void ImgTnView::onScrollBar(int value) {
    // Positions the view sets itself arrive here too; they are already handled.
    if (flags_ != 0) {
        return;
    }
    flags_ |= scrolling;
    const int32_t pos = std::min(value, grid_.maxScroll);
    if (pos != value) {
        scrollBar_->setValue(pos);
    }
    scrollTo(pos);
    flags_ &= ~scrolling;
}

void ImgTnView::relayout() {
    flags_ |= resizing;
    grid_ = computeGrid();
    const RelayoutStart start =
        relayoutStart(grid_, height(), config_.panelH, firstVisible_, scrollPos_);
    updateScrollBar();
    if (barShown_) {
        scrollBar_->setValue(start.scrollPos);
    }
    scrollPos_ = start.scrollPos;
    const GridPage page = gridPageFrom(grid_, start.first, start.offset, count_);
    if (page.first != firstVisible_ || page.last != lastVisible_) {
        rebuildPage(page);
    }
    storeVisible(page);
    placeTiles(page.offset);
    restartCursors();
    flags_ &= ~resizing;
}

void ImgTnView::resizeEvent(QResizeEvent* /*event*/) {
    placeScrollBar();
    if ((flags_ & loading) == 0 && count_ > 0) {
        relayout();
    }
}

void ImgTnView::ensureVisible(int32_t i) {
    if (!barShown_) {
        return;
    }
    const auto pos =
        ensureVisiblePosition(grid_, i, count_, height(), config_.panelH, scrollBar_->value());
    if (pos) {
        scrollWithFlag(*pos);
    }
}

// ---- Tiles ----

ImgTnPanel* ImgTnView::tileOfPosition(int32_t position) const {
    if (position < firstVisible_ || position > lastVisible_ || position < 0) {
        return nullptr;
    }
    const int k = position - firstVisible_;
    return k < tiles_.count() ? tiles_.at(k) : nullptr;
}

void ImgTnView::applyLook(ImgTnPanel* tile, bool selected) const {
    tile->setSelected(selected);
}

ImgTnPanel* ImgTnView::createTile(FileInfoItem& item) {
    auto* tile = new ImgTnPanel(this, config_.style);
    tile->hide();
    tile->resize(config_.panelW, config_.panelH);
    tile->setItem(&item);
    item.hasTile = true;
    tile->setTileColor(colorOf(config_.panelCol));
    tile->setLabelColors(colorOf(config_.lblBkCol), colorOf(config_.lblTxCol),
                         colorOf(config_.lblBkSelCol), colorOf(config_.lblTxSelCol));
    tile->setLabelFont(config_.labelFont, config_.labelFSize, config_.labelStyle);
    tile->setLabelTop(config_.labelTop);
    tile->setLabelText(QString::fromStdString(item.name));
    applyLook(tile, itemIndex_ >= 0 && &itemAt(itemIndex_) == &item);
    tile->setLabelHint(
        QString::fromStdString(item.name + "\n" + item.sizeText() + " Byte\n" + item.timeText()));
    connect(tile, &ImgTnPanel::mousePressed, this, &ImgTnView::tilePressed);
    connect(tile, &ImgTnPanel::mouseReleased, this,
            [this](ImgTnPanel*, Qt::MouseButton button, QPoint pos) {
                emit mouseReleased(button, pos);
            });
    connect(tile, &ImgTnPanel::mouseMoved, this,
            [this](ImgTnPanel*, QPoint pos) { emit mouseMoved(pos); });
    connect(tile, &ImgTnPanel::clicked, this, [this](ImgTnPanel*) { viewClicked(); });
    connect(tile, &ImgTnPanel::doubleClicked, this, [this](ImgTnPanel*) { emit doubleClicked(); });
    if (item.info.kind != GraphicKind::gkNone && item.info.kind != GraphicKind::gkFile) {
        drawTile(tile);
    } else {
        drawIconTile(tile);
    }
    return tile;
}

// The item's icon over the tile colour, placed like a thumbnail of the icon's size.
void ImgTnView::drawIconTile(ImgTnPanel* tile) {
    const int side = FileIconCache::kLargeIconSize;
    const double ratio = pixelRatio();
    QImage picture(static_cast<int>(std::ceil(side * ratio)),
                   static_cast<int>(std::ceil(side * ratio)), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(colorOf(config_.panelCol));
    {
        QPainter painter(&picture);
        icons_.icon(tile->item()->largeIcon).paint(&painter, QRect(0, 0, side, side));
    }
    const ImageRect place =
        placeImage(side, side, config_.imageSize, config_.panelW, config_.imageTop);
    tile->setImage(QRect(place.left, place.top, side, side), picture);
}

void ImgTnView::drawTile(ImgTnPanel* tile) {
    FileInfoItem& item = *tile->item();
    const ThumbInfo parts = maker_.infoParts(item);
    const QString info = QCoreApplication::translate("ThumbInfo", parts.pattern)
                             .arg(QString::fromStdString(parts.text));
    if (item.thumbIndex >= 0) {
        // One thumbnail pixel on one device pixel, whatever the scaling of the screen.
        const NkDib& dib = maker_.store.at(item.thumbIndex);
        const double ratio = pixelRatio();
        QImage picture = dibToImage(dib);
        picture.setDevicePixelRatio(ratio);
        const int w = static_cast<int>(std::ceil(dib.width() / ratio));
        const int h = static_cast<int>(std::ceil(dib.height() / ratio));
        const ImageRect place =
            placeImage(w, h, config_.imageSize, config_.panelW, config_.imageTop);
        tile->setImage(QRect(place.left, place.top, w, h), picture);
        tile->setImageHint(info);
        tile->setDrawn(true);
    } else if (item.info.kind == GraphicKind::gkFile) {
        tile->setImageHint(info);
        // A link shows the icon of what it points to.
        if (info.contains(QLatin1Char('/')) && !tile->image().isNull()) {
            QImage picture = tile->image();
            const QRect bounds = tile->imageBounds();
            {
                QPainter painter(&picture);
                painter.fillRect(QRect(QPoint(0, 0), bounds.size()), colorOf(config_.panelCol));
                icons_.associatedIcon(maker_.dir + item.name)
                    .paint(&painter, QRect(QPoint(0, 0), bounds.size()));
            }
            tile->setImage(bounds, picture);
        }
        tile->setDrawn(true);
    }
}

// ---- Idle steps ----

bool ImgTnView::makeNextThumb() {
    if (makeCursor_ < 0) {
        idleDone_ = true;
        return false;
    }
    if (flags_ != 0) {
        return false;
    }
    if (workers_) {
        return placeFinished();
    }
    maker_.examineFile(itemAt(count_ - 1 - makeCursor_));
    if (count_ > maker_.madeCount) {
        if (makeCursor_ <= 0) {
            makeCursor_ = count_;
        }
        --makeCursor_;
    } else {
        makeCursor_ = -1;
    }
    idleDone_ = false;
    return true;
}

// Nothing finished: the steps go on drawing tiles until they rest, and a worker wakes
// them when it finishes one. A placed thumbnail is drawn at once, as the workers' order
// is not the drawing cursor's.
bool ImgTnView::placeFinished() {
    std::optional<ThumbWorkers::Finished> finished = workers_->take();
    if (!finished) {
        return false;
    }
    FileInfoItem& item = itemAt(finished->position);
    maker_.place(item, std::move(finished->made));
    if (ImgTnPanel* tile = item.hasTile ? tileOfPosition(finished->position) : nullptr) {
        drawTile(tile);
    }
    if (maker_.madeCount >= count_) {
        makeCursor_ = -1;
    }
    idleDone_ = false;
    return true;
}

bool ImgTnView::drawNextTile() {
    const bool done = idleDone_;
    if (flags_ != 0 || tiles_.empty() || drawCursor_ < 0) {
        return done;
    }
    if (drawCursor_ >= tiles_.count()) {
        drawCursor_ = 0;
        idleDone_ = true;
    }
    ImgTnPanel* tile = tiles_.at(drawCursor_);
    if (!tile->drawn()) {
        drawTile(tile);
    }
    ++drawCursor_;
    return done;
}

// ---- Selection ----

void ImgTnView::select(int32_t i) {
    if (ImgTnPanel* old = tileOfPosition(itemIndex_)) {
        applyLook(old, false);
    }
    if (i < -1 || i >= count_) {
        return;
    }
    itemIndex_ = i;
    if (i == -1) {
        return;
    }
    ensureVisible(i);
    if (ImgTnPanel* tile = tileOfPosition(i)) {
        applyLook(tile, true);
    }
}

void ImgTnView::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (itemIndex_ != -1) {
        select(itemIndex_);
    }
}

void ImgTnView::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (ImgTnPanel* tile = tileOfPosition(itemIndex_)) {
        applyLook(tile, false);
    }
}

// ---- Keyboard and mouse ----

void ImgTnView::keyPressEvent(QKeyEvent* event) {
    std::optional<ArrowKey> arrow;
    switch (event->key()) {
        case Qt::Key_Left:
            arrow = ArrowKey::left;
            break;
        case Qt::Key_Right:
            arrow = ArrowKey::right;
            break;
        case Qt::Key_Up:
            arrow = ArrowKey::up;
            break;
        case Qt::Key_Down:
            arrow = ArrowKey::down;
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit doubleClicked();
            break;
        default:
            break;
    }
    if (arrow) {
        if (const auto target = arrowKeyTarget(*arrow, itemIndex_, count_, grid_.columns)) {
            select(*target);
        }
    }
    QWidget::keyPressEvent(event);
}

void ImgTnView::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (barShown_ && (flags_ & scrolling) == 0 && delta != 0) {
        flags_ |= scrolling;
        const int32_t pos = wheelScrollPosition(scrollBar_->value(), delta, grid_.maxScroll);
        scrollBar_->setValue(pos);
        scrollTo(pos);
        flags_ &= ~scrolling;
        // Handled here: a parent that scrolls too would move the page twice.
        event->accept();
        return;
    }
    QWidget::wheelEvent(event);
}

void ImgTnView::tilePressed(ImgTnPanel* tile, Qt::MouseButton button, QPoint pos) {
    emit mousePressed(button, pos);
    if (button == Qt::LeftButton && tile->item() != nullptr) {
        select(tile->item()->index);
    }
}

void ImgTnView::viewClicked() {
    emit clicked();
    if ((focusPolicy() & Qt::TabFocus) != 0) {
        setFocus(Qt::MouseFocusReason);
    }
}

void ImgTnView::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button == Qt::LeftButton) {
        leftPressed_ = true;
    }
    emit mousePressed(button, event->position().toPoint());
    if (button == Qt::LeftButton) {
        select(-1);
    }
}

void ImgTnView::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->position().toPoint());
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint())) {
            viewClicked();
        }
    }
}

// As a double-click is announced before the press that comes with it.
void ImgTnView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
    mousePressEvent(event);
}

void ImgTnView::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->position().toPoint());
}

}  // namespace ravinel
