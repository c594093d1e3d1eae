#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "tests/ui/viewer/view_window_fixture.h"

namespace ravinel {
namespace {

using testing::ViewWindowTest;

class ViewInputTest : public ViewWindowTest {
  protected:
    void SetUp() override {
        ViewWindowTest::SetUp();
        writeBmp("a.bmp", 40, 30);
        writeText("b.txt");
        writeBmp("c.bmp", 30, 20);
        writeBmp("d.bmp", 20, 10);
    }

    // Shortcuts reach only the active window.
    ImageWindow* openActive(const std::string& name) {
        ImageWindow* window = open(name);
        if (window != nullptr) {
            window->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        }
        return window;
    }

    static void closeMenu(ImageWindow* window) { window->popupMenu().menu->hide(); }

    // Qt moves a menu that would stick out of the screen (a small logical screen at a
    // high device-pixel ratio); otherwise it stands at the point asked for.
    static void expectMenuAt(const QMenu* menu, const QPoint& point) {
        const QRect screen = menu->screen()->availableGeometry();
        if (screen.contains(QRect(point, menu->size()))) {
            EXPECT_EQ(menu->pos(), point);
        } else {
            EXPECT_TRUE(screen.contains(menu->pos()));
        }
    }
};

TEST_F(ViewInputTest, NavigationKeysStepThroughTheList) {
    ImageWindow* window = openActive("a.bmp");
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Right);
    EXPECT_EQ(window->fileName(), "c.bmp");
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_EQ(window->fileName(), "d.bmp");
    QTest::keyClick(window, Qt::Key_Backspace);
    EXPECT_EQ(window->fileName(), "c.bmp");
    QTest::keyClick(window, Qt::Key_Home);
    EXPECT_EQ(window->fileName(), "a.bmp");
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(window->fileName(), "d.bmp");
    QTest::keyClick(window, Qt::Key_Up);
    EXPECT_EQ(window->fileName(), "c.bmp");
}

TEST_F(ViewInputTest, SizeAndPositionKeysNeedExactModifiers) {
    ImageWindow* window = openActive("a.bmp");
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_F);
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::fitScreen);
    QTest::keyClick(window, Qt::Key_D, Qt::ShiftModifier);  // not plain D
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::fitScreen);
    QTest::keyClick(window, Qt::Key_D);
    EXPECT_EQ(window->viewForm().sizeMode, SizeMode::ownSize);
    EXPECT_EQ(pictureSize(window), QSize(40, 30));

    QTest::keyClick(window, Qt::Key_9, Qt::KeypadModifier);
    EXPECT_EQ(window->viewForm().posMode, PosMode::right);
    QTest::keyClick(window, Qt::Key_7);  // the main keyboard's 7 is no position key
    EXPECT_EQ(window->viewForm().posMode, PosMode::right);
    QTest::keyClick(window, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(window->viewForm().posMode, PosMode::left);

    QTest::keyClick(window, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(pictureSize(window), QSize(48, 36));  // 1.1892 x 40 x 30
    QTest::keyClick(window, Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_EQ(pictureSize(window), QSize(40, 30));  // back from the shown 48 x 36 by 0.841
}

TEST_F(ViewInputTest, ReloadAndCopyKeys) {
    ImageWindow* window = openActive("a.bmp");
    ASSERT_NE(window, nullptr);
    QTest::keyClick(window, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(window, Qt::Key_F5);
    EXPECT_EQ(pictureSize(window), QSize(40, 30));
    QTest::keyClick(window, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(40, 30));
}

TEST_F(ViewInputTest, EscapeClosesOnlyThatWindow) {
    ImageWindow* other = open("c.bmp");  // another window keeps the program running
    ImageWindow* window = openActive("a.bmp");
    ASSERT_NE(window, nullptr);
    ASSERT_NE(other, nullptr);
    QPointer<ImageWindow> watched(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    EXPECT_TRUE(other->isVisible());
}

TEST_F(ViewInputTest, ControlArrowsScrollByTenPixels) {
    writeBmp("e.bmp", 3000, 40);  // wider than any work area
    ImageWindow* window = openActive("e.bmp");
    ASSERT_NE(window, nullptr);
    QScrollBar* bar = scrollArea(window)->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 20);
    // Ten device pixels, in the scroll bar's logical units.
    const int step = static_cast<int>(std::lround(10 / window->devicePixelRatioF()));
    QTest::keyClick(window, Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 2 * step);
    EXPECT_EQ(window->fileName(), "e.bmp");  // Ctrl+Right is no navigation key
    QTest::keyClick(window, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum() - 5);
    QTest::keyClick(window, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(ViewInputTest, AltReleasedAloneOpensTheMenuAtTheClientCorner) {
    ImageWindow* window = openActive("a.bmp");
    ASSERT_NE(window, nullptr);
    QMenu* menu = window->popupMenu().menu;
    QTest::keyPress(window, Qt::Key_Alt);
    QTest::keyClick(window, Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(window, Qt::Key_Alt);
    EXPECT_FALSE(menu->isVisible());  // Alt was part of a chord

    QTest::keyPress(window, Qt::Key_Alt);
    QTest::keyRelease(window, Qt::Key_Alt);
    ASSERT_TRUE(menu->isVisible());
    expectMenuAt(menu, window->mapToGlobal(QPoint(0, 0)));
    closeMenu(window);

    QTest::keyClick(window, Qt::Key_Menu);
    EXPECT_TRUE(menu->isVisible());
    closeMenu(window);
}

TEST_F(ViewInputTest, MouseChordsStepThroughThePictures) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    QLabel* image = picture(window);
    // Left held, then right: next.
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->fileName(), "c.bmp");
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->popupMenu().menu->isVisible());
    // Right held, then left: previous, and the right release opens no menu.
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(5, 5));
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(window->fileName(), "a.bmp");
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(window->popupMenu().menu->isVisible());
}

TEST_F(ViewInputTest, PlainRightClickOpensTheMenuOnRelease) {
    ImageWindow* window = open("a.bmp");
    ASSERT_NE(window, nullptr);
    QLabel* image = picture(window);
    QMenu* menu = window->popupMenu().menu;
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(7, 9));
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(7, 9));
    ASSERT_TRUE(menu->isVisible());
    expectMenuAt(menu, image->mapToGlobal(QPoint(7, 9)));
    closeMenu(window);
    QTest::mouseClick(image, Qt::RightButton, Qt::ControlModifier, QPoint(7, 9));
    EXPECT_FALSE(menu->isVisible());  // modifiers must match exactly
}

TEST_F(ViewInputTest, LeftDragPansThePicture) {
    writeBmp("e.bmp", 3000, 40);
    ImageWindow* window = open("e.bmp");
    ASSERT_NE(window, nullptr);
    QLabel* image = picture(window);
    QScrollBar* bar = scrollArea(window)->horizontalScrollBar();
    bar->setValue(100);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mouseMove(image, QPoint(120, 10));  // picture coordinates before the scroll
    EXPECT_EQ(bar->value(), 130);
    EXPECT_EQ(image->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(image, QPoint(200, 10));  // the grabbed point moves with the picture
    EXPECT_EQ(bar->value(), 80);
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(200, 10));
    EXPECT_NE(image->cursor().shape(), Qt::SizeAllCursor);
    QTest::mouseMove(image, QPoint(10, 10));
    EXPECT_EQ(bar->value(), 80);  // no drag after the release
}

}  // namespace
}  // namespace ravinel
