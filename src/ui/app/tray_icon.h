#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/tray_click_filter.h"

namespace ravinel {

// The program's icon in the desktop's notification area. It shows a tip and reports
// single clicks; a double click reports none. Where the desktop has no notification area
// there is no icon until one appears; it comes back when the area restarts.
class TrayIcon : public QObject {
    Q_OBJECT

  public:
    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    const QString& tipHelp() const { return tipHelp_; }
    void setTipHelp(const QString& text);
    void setIcon(const QIcon& icon);
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    // Whether the icon is in a notification area now.
    bool isShown() const;

    // When true a click is reported only once the double-click time has passed without
    // a double click; when false at once.
    bool checkSingleDoubleClick = true;
    // A single click with any button.
    std::function<void()> onMouseClick;

    // What the notification area reports of the user's clicks.
    void activated(QSystemTrayIcon::ActivationReason reason);

  private:
    void updateRegistration();
    void clickTimerExpired();
    void reportClick();

    QString tipHelp_ = QStringLiteral("TipHelp");
    QIcon icon_;
    bool visible_ = true;
    std::unique_ptr<QSystemTrayIcon> trayIcon_;
    TrayClickFilter clickFilter_;
    QTimer clickTimer_;
};

}  // namespace ravinel
