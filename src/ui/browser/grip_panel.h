#pragma once

#include <QFrame>
#include <QPoint>
#include <memory>

class QRubberBand;

namespace ravinel {

// The grip below the folder tree: pressing a button on it starts dragging the tree's
// panel at once, with an outline of the panel following the mouse; releasing the button
// drops it there.
class GripPanel : public QFrame {
    Q_OBJECT

  public:
    static constexpr int kHeight = 18;

    // dragged is the widget whose outline follows the mouse (the tree's panel).
    GripPanel(QWidget* parent, QWidget* dragged);
    ~GripPanel() override;

  signals:
    // The drag ended with the button released at globalPos.
    void dropped(QPoint globalPos);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QWidget* dragged_;
    std::unique_ptr<QRubberBand> outline_;  // a window of its own, over any other
    QPoint grabOffset_;                     // from the mouse to the outline's top-left corner
};

// Where a panel dropped at dropX (global) docks: true for the left side, when the drop
// lies in the left half of the base panel that starts at baseLeft (global) and is
// baseWidth wide.
bool dockLeftAt(int baseLeft, int baseWidth, int dropX);

}  // namespace ravinel
