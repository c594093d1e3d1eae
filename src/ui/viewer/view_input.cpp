// The image window's keys and mouse chords.
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "viewer/image_window.h"

namespace ravinel {

namespace {

constexpr int32_t kScrollStep = 10;  // device pixels per Ctrl+arrow

}  // namespace

void ImageWindow::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int key = event->key();
    // Alt opens the menu only when released with no other key pressed meanwhile.
    if (key != Qt::Key_Alt) {
        altAlone_ = false;
    } else if (!event->isAutoRepeat()) {
        altAlone_ = true;
    }
    QAction* command = nullptr;
    if (modifiers == Qt::NoModifier) {
        switch (key) {
            case Qt::Key_Escape:
                command = menu_.vpClose;
                break;
            case Qt::Key_D:
                command = menu_.vpSizeOrgMode;
                break;
            case Qt::Key_F:
                command = menu_.vpSizeFitMode;
                break;
            case Qt::Key_P:
                command = menu_.vpPlay;
                break;
        }
    } else if (modifiers == Qt::KeypadModifier) {
        switch (key) {
            case Qt::Key_7:
                command = menu_.vpWinPosL;
                break;
            case Qt::Key_8:
                command = menu_.vpWinPosC;
                break;
            case Qt::Key_9:
                command = menu_.vpWinPosR;
                break;
            case Qt::Key_Plus:
                command = menu_.vpSizeUp;
                break;
            case Qt::Key_Minus:
                command = menu_.vpSizeDown;
                break;
        }
    } else if ((modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        // Some platforms mark the arrow keys as keypad keys.
        switch (key) {
            case Qt::Key_Left:
                scrollBy(scrollArea_->horizontalScrollBar(), -kScrollStep);
                return;
            case Qt::Key_Right:
                scrollBy(scrollArea_->horizontalScrollBar(), kScrollStep);
                return;
            case Qt::Key_Up:
                scrollBy(scrollArea_->verticalScrollBar(), -kScrollStep);
                return;
            case Qt::Key_Down:
                scrollBy(scrollArea_->verticalScrollBar(), kScrollStep);
                return;
        }
    }
    if (command != nullptr) {
        command->trigger();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ImageWindow::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    // Platforms differ on whether Alt's own release still reports the Alt modifier.
    const bool altReleasedAlone = key == Qt::Key_Alt && altAlone_ && !event->isAutoRepeat() &&
                                  (modifiers == Qt::NoModifier || modifiers == Qt::AltModifier);
    const bool menuKey = key == Qt::Key_Menu && modifiers == Qt::NoModifier;
    if (key == Qt::Key_Alt && !event->isAutoRepeat()) {
        altAlone_ = false;
    }
    if (altReleasedAlone || menuKey) {
        openPopupAt(mapToGlobal(QPoint(0, 0)));  // the client area's top-left corner
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void ImageWindow::scrollBy(QScrollBar* bar, int32_t devicePixels) {
    const int step = static_cast<int>(std::lround(devicePixels / devicePixelRatioF()));
    const int logical = step != 0 ? step : (devicePixels < 0 ? -1 : 1);
    bar->setValue(std::clamp(bar->value() + logical, bar->minimum(), bar->maximum()));
}

bool ImageWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != image_ && watched != scrollArea_->viewport()) {
        return QWidget::eventFilter(watched, event);
    }
    bool handled = false;
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            guarded([&] { handled = pictureMousePress(*static_cast<QMouseEvent*>(event)); });
            break;
        case QEvent::MouseMove:
            handled = pictureMouseMove(*static_cast<QMouseEvent*>(event));
            break;
        case QEvent::MouseButtonRelease:
            handled = pictureMouseRelease(*static_cast<QMouseEvent*>(event));
            break;
        default:
            break;
    }
    return handled || QWidget::eventFilter(watched, event);
}

bool ImageWindow::pictureMousePress(const QMouseEvent& event) {
    if (event.modifiers() != Qt::NoModifier) {
        return false;
    }
    const Qt::MouseButtons held = event.buttons();
    const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;
    if (event.button() == Qt::LeftButton) {
        if (held == Qt::LeftButton) {
            dragging_ = true;
            // Picture coordinates: the grabbed point stays under the cursor while panning.
            drag_ = image_->mapFromGlobal(event.globalPosition()).toPoint();
            return true;
        }
        if (held == both) {
            rightClickPending_ = false;  // right first, then left: previous picture
            vaPriorExecute();
            return true;
        }
    } else if (event.button() == Qt::RightButton) {
        if (held == Qt::RightButton) {
            dragging_ = false;
            rightClickPending_ = true;
            return true;
        }
        if (held == both) {
            dragging_ = false;  // left first, then right: next picture
            image_->unsetCursor();
            vaNextExecute();
            return true;
        }
    }
    return false;
}

bool ImageWindow::pictureMouseMove(const QMouseEvent& event) {
    if (!dragging_) {
        return false;
    }
    if (image_->cursor().shape() != Qt::SizeAllCursor) {
        image_->setCursor(Qt::SizeAllCursor);
    }
    const QPoint at = image_->mapFromGlobal(event.globalPosition()).toPoint();
    QScrollBar* horizontal = scrollArea_->horizontalScrollBar();
    QScrollBar* vertical = scrollArea_->verticalScrollBar();
    horizontal->setValue(std::clamp(horizontal->value() - at.x() + drag_.x(), horizontal->minimum(),
                                    horizontal->maximum()));
    vertical->setValue(std::clamp(vertical->value() - at.y() + drag_.y(), vertical->minimum(),
                                  vertical->maximum()));
    return true;
}

bool ImageWindow::pictureMouseRelease(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) {
        dragging_ = false;
        image_->unsetCursor();
        return true;
    }
    if (event.button() == Qt::RightButton && event.buttons() == Qt::NoButton) {
        if (rightClickPending_) {
            rightClickPending_ = false;
            openPopupAt(event.globalPosition().toPoint());
        }
        return true;
    }
    return false;
}

}  // namespace ravinel
