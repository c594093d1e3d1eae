#include "common/tile_image.h"

#include <QPainter>

namespace ravinel {

TileImage::TileImage(QWidget* parent) : QWidget(parent) {
    // Input and hints are handled by the tile.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TileImage::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void TileImage::paintEvent(QPaintEvent* /*event*/) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), picture_);
}

}  // namespace ravinel
