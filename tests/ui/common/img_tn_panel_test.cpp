#include "common/img_tn_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

namespace ravinel {
namespace {

TEST(ImgTnPanel, LabelFollowsItsFontAndTheTileWidth) {
    ImgTnPanel tile(nullptr, 0);
    tile.show();
    tile.resize(110, 130);
    tile.setLabelTop(100);
    tile.setLabelFont("Sans", 12, 1 | 4);
    const QLabel* label = tile.label();
    EXPECT_TRUE(label->font().bold());
    EXPECT_FALSE(label->font().italic());
    EXPECT_TRUE(label->font().underline());
    const int pixels = static_cast<int>(12 * label->logicalDpiY() / 72.0 + 0.5);
    EXPECT_EQ(label->geometry(), QRect(2, 100, 106, pixels + 4));
    tile.resize(80, 130);
    EXPECT_EQ(label->width(), 76);
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(ImgTnPanel(nullptr, ImgTnPanel::kNoLabel).label()->isHidden());
}

TEST(ImgTnPanel, SelectedLookUsesTheSelectedLabelColours) {
    ImgTnPanel tile(nullptr, 0);
    tile.setLabelColors(Qt::white, Qt::black, Qt::blue, Qt::yellow);
    EXPECT_EQ(tile.label()->palette().color(QPalette::Window), QColor(Qt::white));
    tile.setSelected(true);
    EXPECT_EQ(tile.label()->palette().color(QPalette::Window), QColor(Qt::blue));
    EXPECT_EQ(tile.label()->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    tile.setSelected(false);
    EXPECT_EQ(tile.label()->palette().color(QPalette::WindowText), QColor(Qt::black));
}

TEST(ImgTnPanel, PictureIsMadeOnFirstUse) {
    ImgTnPanel tile(nullptr, 0);
    EXPECT_TRUE(tile.image().isNull());
    tile.setImageHint("lost");  // no picture control yet: nothing to hold it
    EXPECT_TRUE(tile.imageHint().isEmpty());
    QImage picture(20, 10, QImage::Format_RGB32);
    tile.setImage(QRect(5, 6, 20, 10), picture);
    tile.setImageHint("hint");
    EXPECT_EQ(tile.imageBounds(), QRect(5, 6, 20, 10));
    EXPECT_EQ(tile.imageHint(), QString("hint"));
}

TEST(ImgTnPanel, HintOfThePictureOrTheLabelUnderTheMouse) {
    ImgTnPanel tile(nullptr, 0);
    tile.resize(110, 130);
    tile.show();
    tile.setLabelTop(100);
    tile.setLabelHint("name");
    tile.setImage(QRect(5, 5, 100, 90), QImage(100, 90, QImage::Format_RGB32));
    tile.setImageHint("picture");
    // The hint shown, or an empty text when the tile passed the request on.
    const auto hintAt = [&tile](QPoint pos) {
        QHelpEvent help(QEvent::ToolTip, pos, tile.mapToGlobal(pos));
        QApplication::sendEvent(&tile, &help);
        return help.isAccepted() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(hintAt(QPoint(50, 50)), QString("picture"));
    EXPECT_EQ(hintAt(QPoint(50, 105)), QString("name"));
    EXPECT_EQ(hintAt(QPoint(1, 1)), QString());  // the tile's own edge
}

}  // namespace
}  // namespace ravinel
