#include "common/img_tn_panel.h"

#include <qdrawutil.h>

#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include "common/elided_file_name.h"
#include "common/tile_image.h"

namespace ravinel {

namespace {

constexpr int kLabelLeft = 2;

}  // namespace

ImgTnPanel::ImgTnPanel(QWidget* parent, uint8_t style)
    : QWidget(parent), style_(style), label_(new QLabel(this)) {
    setMouseTracking(true);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->setAlignment(Qt::AlignCenter);
    label_->setTextFormat(Qt::PlainText);
    label_->setAutoFillBackground(true);
    label_->setVisible((style_ & kNoLabel) == 0);
    applyLabelColors();
}

void ImgTnPanel::setStyle(uint8_t style) {
    style_ = style;
    label_->setVisible((style_ & kNoLabel) == 0);
    update();
}

void ImgTnPanel::setTileColor(const QColor& color) {
    tileColor_ = color;
    update();
}

void ImgTnPanel::setLabelColors(const QColor& background, const QColor& text,
                                const QColor& selectedBackground, const QColor& selectedText) {
    labelBackground_[0] = background;
    labelText_[0] = text;
    labelBackground_[1] = selectedBackground;
    labelText_[1] = selectedText;
    applyLabelColors();
}

void ImgTnPanel::setSelected(bool selected) {
    selected_ = selected;
    applyLabelColors();
    update();
}

void ImgTnPanel::applyLabelColors() {
    QPalette palette = label_->palette();
    palette.setColor(QPalette::Window, labelBackground_[selected_ ? 1 : 0]);
    palette.setColor(QPalette::WindowText, labelText_[selected_ ? 1 : 0]);
    label_->setPalette(palette);
}

void ImgTnPanel::setLabelFont(const std::string& family, int32_t pointSize, uint8_t fontStyle) {
    QFont font(QString::fromStdString(family));
    font.setPointSize(pointSize);
    font.setBold((fontStyle & 1) != 0);
    font.setItalic((fontStyle & 2) != 0);
    font.setUnderline((fontStyle & 4) != 0);
    font.setStrikeOut((fontStyle & 8) != 0);
    label_->setFont(font);
    placeLabel();
}

void ImgTnPanel::setLabelTop(int32_t top) {
    labelTop_ = top;
    placeLabel();
}

void ImgTnPanel::setLabelText(const QString& text) {
    labelFullText_ = text;
    showLabelText();
}

void ImgTnPanel::showLabelText() {
    label_->setText(
        elidedFileName(labelFullText_, label_->fontMetrics(), label_->contentsRect().width()));
}

// The label is as high as its font in pixels plus a margin of two on each side.
void ImgTnPanel::placeLabel() {
    const int pixelHeight =
        static_cast<int>(label_->font().pointSizeF() * label_->logicalDpiY() / 72.0 + 0.5);
    label_->setGeometry(kLabelLeft, labelTop_, std::max(width() - 2 * kLabelLeft, 0),
                        pixelHeight + 4);
    showLabelText();
}

void ImgTnPanel::setImage(const QRect& bounds, const QImage& picture) {
    if (image_ == nullptr) {
        image_ = new TileImage(this);
        image_->show();
    }
    image_->setGeometry(bounds);
    image_->setPicture(picture);
}

void ImgTnPanel::setImageHint(const QString& hint) {
    if (image_ != nullptr) {
        image_->setHint(hint);
    }
}

QImage ImgTnPanel::image() const {
    return image_ != nullptr ? image_->picture() : QImage();
}

QRect ImgTnPanel::imageBounds() const {
    return image_ != nullptr ? image_->geometry() : QRect();
}

QString ImgTnPanel::imageHint() const {
    return image_ != nullptr ? image_->hint() : QString();
}

bool ImgTnPanel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        QString hint;
        if (image_ != nullptr && image_->geometry().contains(help->pos())) {
            hint = image_->hint();
        } else if (label_->isVisible() && label_->geometry().contains(help->pos())) {
            hint = labelHint_;
        }
        if (hint.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), hint, this);
        }
        return true;
    }
    return QWidget::event(event);
}

void ImgTnPanel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), tileColor_);
    if ((style_ & kNoBorder) == 0) {
        qDrawShadePanel(&painter, rect(), palette(), selected_, 1);
    }
}

void ImgTnPanel::resizeEvent(QResizeEvent* /*event*/) {
    placeLabel();
}

QPoint ImgTnPanel::toView(QPoint tilePos) const {
    return mapToParent(tilePos);
}

void ImgTnPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        leftPressed_ = true;
    }
    emit mousePressed(this, event->button(), toView(event->position().toPoint()));
}

// The view may let go of this tile in any of the handlers (a double-click can show
// another folder); a tile let go of has no item, and nothing of it is touched then.
void ImgTnPanel::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<ImgTnPanel> self(this);
    emit mouseReleased(this, event->button(), toView(event->position().toPoint()));
    if (self.isNull() || item_ == nullptr) {
        return;
    }
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        if (rect().contains(event->position().toPoint())) {
            emit clicked(this);
        }
    }
}

// As a double-click is announced before the press that comes with it.
void ImgTnPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointer<ImgTnPanel> self(this);
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked(this);
    }
    if (!self.isNull() && item_ != nullptr) {
        mousePressEvent(event);
    }
}

void ImgTnPanel::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(this, toView(event->position().toPoint()));
}

}  // namespace ravinel
