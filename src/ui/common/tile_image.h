#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

namespace ravinel {

// The picture control of a tile: shows its picture at the picture's own size from its
// top-left corner, never stretched. A picture with a device pixel ratio is drawn with
// one picture pixel on one device pixel.
class TileImage : public QWidget {
  public:
    explicit TileImage(QWidget* parent);

    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    const QString& hint() const { return hint_; }
    void setHint(const QString& hint) { hint_ = hint; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    QString hint_;
};

}  // namespace ravinel
