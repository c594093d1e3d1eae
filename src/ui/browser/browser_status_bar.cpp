#include "browser/browser_status_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace ravinel {

namespace {

constexpr std::array<int, BrowserStatusBar::kPanelCount> kPanelWidths = {75, 140, 90, 400};

}  // namespace

BrowserStatusBar::BrowserStatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t k = 0; k < panels_.size(); ++k) {
        auto* panel = new QLabel(this);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setContentsMargins(2, 0, 2, 0);
        // A long folder path is cut at the window's edge rather than widening it.
        panel->setMinimumWidth(k + 1 < panels_.size() ? kPanelWidths[k] : 0);
        panel->setMaximumWidth(kPanelWidths[k]);
        panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        // The bar takes the clicks, so that a press on the menu button opens the menu.
        panel->setAttribute(Qt::WA_TransparentForMouseEvents);
        layout->addWidget(panel);
        panels_[k] = panel;
    }
    layout->addStretch(1);
    panels_[0]->setText(tr("メニュー"));
    panels_[0]->setAlignment(Qt::AlignCenter);
    setMenuButtonDown(false);
}

QString BrowserStatusBar::text(int panel) const {
    return panels_.at(static_cast<size_t>(panel))->text();
}

void BrowserStatusBar::setText(int panel, const QString& text) {
    if (panel < 1 || panel >= kPanelCount) {
        return;
    }
    QLabel* label = panels_[static_cast<size_t>(panel)];
    label->setText(text);
    label->setToolTip(text);
}

void BrowserStatusBar::setMenuButtonDown(bool down) {
    menuButtonDown_ = down;
    panels_[0]->setFrameShadow(down ? QFrame::Sunken : QFrame::Raised);
}

QRect BrowserStatusBar::menuButtonRect() const {
    return panels_[0]->geometry();
}

void BrowserStatusBar::mousePressEvent(QMouseEvent* event) {
    const int x = event->position().toPoint().x();
    if (event->button() == Qt::LeftButton && x > 0 && x < menuButtonRect().right() + 1) {
        emit menuButtonPressed();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace ravinel
