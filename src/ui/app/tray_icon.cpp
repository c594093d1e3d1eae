#include "app/tray_icon.h"

#include <QApplication>
#include <QGuiApplication>
#include <algorithm>
#include <chrono>

#include "common/program_icon.h"

namespace ravinel {

namespace {

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int msUntil(int64_t dueMs) {
    return static_cast<int>(std::max<int64_t>(dueMs - nowMs(), 0));
}

}  // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent), icon_(programIcon()) {
    clickTimer_.setSingleShot(true);
    connect(&clickTimer_, &QTimer::timeout, this, &TrayIcon::clickTimerExpired);
    updateRegistration();
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::setTipHelp(const QString& text) {
    tipHelp_ = text;
    if (trayIcon_) {
        trayIcon_->setToolTip(tipHelp_);
    }
}

void TrayIcon::setIcon(const QIcon& icon) {
    icon_ = icon.isNull() ? programIcon() : icon;
    if (trayIcon_) {
        trayIcon_->setIcon(icon_);
    }
}

void TrayIcon::setVisible(bool visible) {
    visible_ = visible;
    updateRegistration();
}

bool TrayIcon::isShown() const {
    return trayIcon_ && trayIcon_->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

// On X11 the icon is made and shown even while the desktop has no notification area:
// the toolkit docks a shown icon when an area appears, a panel started late or restarted.
// Elsewhere it watches for none, and an icon is made only where an area exists.
void TrayIcon::updateRegistration() {
    const bool areaMayCome = QGuiApplication::platformName() == QLatin1String("xcb");
    if (visible_ && !trayIcon_ && (areaMayCome || QSystemTrayIcon::isSystemTrayAvailable())) {
        trayIcon_ = std::make_unique<QSystemTrayIcon>(icon_);
        trayIcon_->setToolTip(tipHelp_);
        connect(trayIcon_.get(), &QSystemTrayIcon::activated, this, &TrayIcon::activated);
    }
    if (trayIcon_) {
        trayIcon_->setVisible(visible_);
    }
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Context:
            if (!checkSingleDoubleClick) {
                reportClick();
                return;
            }
            clickFilter_.click(nowMs(), QApplication::doubleClickInterval());
            if (!clickTimer_.isActive()) {
                clickTimer_.start(msUntil(*clickFilter_.dueAt()));
            }
            return;
        case QSystemTrayIcon::DoubleClick:
            clickFilter_.doubleClick();
            clickTimer_.stop();
            return;
        case QSystemTrayIcon::Unknown:
            return;
    }
}

void TrayIcon::clickTimerExpired() {
    const int64_t now = nowMs();
    if (clickFilter_.takeDueClick(now)) {
        reportClick();
    } else if (const auto due = clickFilter_.dueAt()) {
        clickTimer_.start(msUntil(*due));
    }
}

void TrayIcon::reportClick() {
    if (onMouseClick) {
        onMouseClick();
    }
}

}  // namespace ravinel
