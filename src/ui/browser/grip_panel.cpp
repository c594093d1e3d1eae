#include "browser/grip_panel.h"

#include <QMouseEvent>
#include <QRubberBand>

namespace ravinel {

GripPanel::GripPanel(QWidget* parent, QWidget* dragged) : QFrame(parent), dragged_(dragged) {
    setFixedHeight(kHeight);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCursor(Qt::SizeAllCursor);
}

GripPanel::~GripPanel() = default;

void GripPanel::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    grabOffset_ = dragged_->mapToGlobal(QPoint(0, 0)) - global;
    if (outline_ == nullptr) {
        outline_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    }
    outline_->setGeometry(QRect(global + grabOffset_, dragged_->size()));
    outline_->show();
    event->accept();
}

void GripPanel::mouseMoveEvent(QMouseEvent* event) {
    if (outline_ != nullptr && outline_->isVisible()) {
        outline_->move(event->globalPosition().toPoint() + grabOffset_);
    }
    event->accept();
}

void GripPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (outline_ == nullptr || !outline_->isVisible()) {
        return;
    }
    outline_->hide();
    event->accept();
    emit dropped(event->globalPosition().toPoint());
}

bool dockLeftAt(int baseLeft, int baseWidth, int dropX) {
    return baseWidth / 2 + baseLeft > dropX;
}

}  // namespace ravinel
