#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "tests/ui/browser/img_tn_view_fixture.h"

namespace ravinel {
namespace {

class ImgTnViewInputTest : public ImgTnViewTest {
  protected:
    void key(Qt::Key code) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    }
    void mouse(QWidget* target, QEvent::Type type, Qt::MouseButton button,
               QPoint pos = QPoint(50, 50)) {
        QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    // The list positions whose tiles have the selected look.
    std::vector<int> selectedTiles() const {
        std::vector<int> selected;
        for (int k = 0; k < view.tileCount(); ++k) {
            if (view.tileAt(k)->isSelected()) {
                selected.push_back(view.firstVisible() + k);
            }
        }
        return selected;
    }
};

TEST_F(ImgTnViewInputTest, ArrowKeysMoveTheSelection) {
    showPictures(10);
    key(Qt::Key_Down);
    EXPECT_EQ(view.itemIndex(), 0);
    EXPECT_EQ(selectedTiles(), std::vector<int>{0});
    view.select(7);
    key(Qt::Key_Down);
    EXPECT_EQ(view.itemIndex(), 9);
    view.select(5);
    key(Qt::Key_Down);
    EXPECT_EQ(view.itemIndex(), 9);
    key(Qt::Key_Down);
    EXPECT_EQ(view.itemIndex(), 9);
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    EXPECT_EQ(view.itemIndex(), 4);
    key(Qt::Key_Right);
    EXPECT_EQ(view.itemIndex(), 5);
    EXPECT_EQ(selectedTiles(), std::vector<int>{5});
    // Keys without a rule of their own leave it.
    key(Qt::Key_End);
    key(Qt::Key_PageDown);
    EXPECT_EQ(view.itemIndex(), 5);
}

TEST_F(ImgTnViewInputTest, SelectingScrollsTheRowIntoView) {
    showPictures(30);
    view.select(29);
    EXPECT_EQ(view.scrollPosition(), 600);
    EXPECT_EQ(selectedTiles(), std::vector<int>{29});
    key(Qt::Key_Up);
    EXPECT_EQ(view.itemIndex(), 25);
    EXPECT_EQ(view.scrollPosition(), 600);
    view.select(1);
    EXPECT_EQ(view.scrollPosition(), 0);
    EXPECT_EQ(selectedTiles(), std::vector<int>{1});
    // No such item: the selection stays.
    view.select(30);
    EXPECT_EQ(view.itemIndex(), 1);
    view.select(-1);
    EXPECT_EQ(view.itemIndex(), -1);
    EXPECT_TRUE(selectedTiles().empty());
}

TEST_F(ImgTnViewInputTest, EnterOpensTheSelection) {
    showPictures(3);
    int opened = 0;
    QObject::connect(&view, &ImgTnView::doubleClicked, [&opened] { ++opened; });
    view.select(1);
    key(Qt::Key_Return);
    key(Qt::Key_Enter);
    EXPECT_EQ(opened, 2);
}

TEST_F(ImgTnViewInputTest, MouseSelectsWithTheLeftButtonOnly) {
    showPictures(10);
    int pressed = 0;
    int clicked = 0;
    int doubleClicked = 0;
    QObject::connect(&view, &ImgTnView::mousePressed, [&pressed] { ++pressed; });
    QObject::connect(&view, &ImgTnView::clicked, [&clicked] { ++clicked; });
    QObject::connect(&view, &ImgTnView::doubleClicked, [&doubleClicked] { ++doubleClicked; });

    mouse(view.tileAt(5), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(view.itemIndex(), 5);
    mouse(view.tileAt(5), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(clicked, 1);
    mouse(view.tileAt(2), QEvent::MouseButtonPress, Qt::RightButton);
    mouse(view.tileAt(2), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(view.itemIndex(), 5);
    EXPECT_EQ(clicked, 1);
    mouse(view.tileAt(3), QEvent::MouseButtonDblClick, Qt::LeftButton);
    EXPECT_EQ(doubleClicked, 1);
    EXPECT_EQ(view.itemIndex(), 3);
    EXPECT_EQ(pressed, 3);
    // The empty area below the last row.
    mouse(&view, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(250, 150));
    EXPECT_EQ(view.itemIndex(), -1);
    EXPECT_TRUE(selectedTiles().empty());
}

TEST_F(ImgTnViewInputTest, LosingTheFocusHidesTheSelectionButKeepsIt) {
    showPictures(10);
    view.select(6);
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(&view, &out);
    EXPECT_TRUE(selectedTiles().empty());
    EXPECT_EQ(view.itemIndex(), 6);
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(&view, &in);
    EXPECT_EQ(selectedTiles(), std::vector<int>{6});
}

TEST_F(ImgTnViewInputTest, SettingTheListAgainStartsOver) {
    showPictures(10);
    view.select(4);
    while (view.makeNextThumb()) {
    }
    EXPECT_EQ(view.madeCount(), 10);
    view.setFiles(list);
    EXPECT_EQ(view.itemIndex(), -1);
    EXPECT_EQ(view.madeCount(), 0);
    EXPECT_EQ(list.item(4).info.kind, GraphicKind::gkNone);
    EXPECT_EQ(list.item(4).thumbIndex, -1);
    EXPECT_TRUE(view.makeNextThumb());
    EXPECT_EQ(view.madeCount(), 1);
    EXPECT_EQ(list.item(0).thumbIndex, 0);
}

}  // namespace
}  // namespace ravinel
