#pragma once

#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace ravinel {

// The browser window's status bar: panel 0 is the menu button ("メニュー"), panel 1 the
// progress and thumbnail state, panel 2 the file count, panel 3 the folder path.
class BrowserStatusBar : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kHeight = 20;
    static constexpr int kPanelCount = 4;

    explicit BrowserStatusBar(QWidget* parent);

    QString text(int panel) const;
    // Panels 1 to 3; panel 0 keeps its caption.
    void setText(int panel, const QString& text);
    // The menu button's edge: lowered while its menu is open.
    void setMenuButtonDown(bool down);
    bool menuButtonDown() const { return menuButtonDown_; }
    // The menu button's rectangle in the bar's coordinates.
    QRect menuButtonRect() const;

  signals:
    // The left button went down on the menu button.
    void menuButtonPressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::array<QLabel*, kPanelCount> panels_{};
    bool menuButtonDown_ = false;
};

}  // namespace ravinel
