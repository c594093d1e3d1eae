#pragma once

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <string>

#include "browse/file_info_item.h"

namespace ravinel {

class TileImage;

// One tile of the thumbnail view: a panel with an optional raised edge, the picture or
// icon of its item, and the file name below. Mouse input on the picture and the label
// counts as input on the tile, which reports it to the view through its signals. The
// tile shows no hint of its own: the picture and the label each have theirs.
class ImgTnPanel : public QWidget {
    Q_OBJECT

  public:
    // Style bits of the tile configuration.
    static constexpr uint8_t kNoBorder = 1;  // no raised edge, no sunken edge when selected
    static constexpr uint8_t kNoLabel = 2;   // the label is hidden

    ImgTnPanel(QWidget* parent, uint8_t style);

    uint8_t style() const { return style_; }
    // Changes the edge and the label's visibility of a made tile.
    void setStyle(uint8_t style);
    bool drawn() const { return drawn_; }
    void setDrawn(bool drawn) { drawn_ = drawn; }
    FileInfoItem* item() const { return item_; }
    void setItem(FileInfoItem* item) { item_ = item; }

    void setTileColor(const QColor& color);
    // The label colours of the unselected and the selected look.
    void setLabelColors(const QColor& background, const QColor& text,
                        const QColor& selectedBackground, const QColor& selectedText);
    // The selected look: a sunken edge and the selected label colours.
    void setSelected(bool selected);
    bool isSelected() const { return selected_; }

    // Style bits: 0 bold, 1 italic, 2 underline, 3 strike-out. The label's height
    // follows the font; pointSize is at least 1 (see drawableThumbPanel).
    void setLabelFont(const std::string& family, int32_t pointSize, uint8_t fontStyle);
    void setLabelTop(int32_t top);
    // The file name under the picture, shortened in the middle when the label is narrower.
    void setLabelText(const QString& text);
    const QString& labelText() const { return labelFullText_; }
    void setLabelHint(const QString& hint) { labelHint_ = hint; }
    QLabel* label() const { return label_; }
    const QString& labelHint() const { return labelHint_; }

    // The picture shown at its own size at bounds (tile coordinates); the image control
    // is made on first use.
    void setImage(const QRect& bounds, const QImage& picture);
    void setImageHint(const QString& hint);
    // Null before the first setImage.
    QImage image() const;
    QRect imageBounds() const;
    QString imageHint() const;

  signals:
    void mousePressed(ImgTnPanel* tile, Qt::MouseButton button, QPoint viewPos);
    void mouseReleased(ImgTnPanel* tile, Qt::MouseButton button, QPoint viewPos);
    void mouseMoved(ImgTnPanel* tile, QPoint viewPos);
    void clicked(ImgTnPanel* tile);
    void doubleClicked(ImgTnPanel* tile);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void applyLabelColors();
    void placeLabel();
    void showLabelText();
    QPoint toView(QPoint tilePos) const;

    uint8_t style_;
    bool drawn_ = false;
    bool selected_ = false;
    bool leftPressed_ = false;
    FileInfoItem* item_ = nullptr;
    QColor tileColor_;
    QColor labelBackground_[2];
    QColor labelText_[2];
    QLabel* label_;
    QString labelFullText_;
    QString labelHint_;
    int32_t labelTop_ = 0;
    TileImage* image_ = nullptr;
};

}  // namespace ravinel
