#include "app/tray_icon.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "app/tray_click_filter.h"
#include "tests/ui/app/event_wait.h"

namespace ravinel {
namespace {

TEST(TrayClickFilterTest, SingleClickIsDueOnlyAfterTheDoubleClickTime) {
    TrayClickFilter filter;
    filter.click(1000, 400);
    EXPECT_FALSE(filter.takeDueClick(1000));
    EXPECT_FALSE(filter.takeDueClick(1399));
    EXPECT_TRUE(filter.takeDueClick(1400));
    EXPECT_FALSE(filter.takeDueClick(5000));  // reported once
    EXPECT_FALSE(filter.dueAt());
}

TEST(TrayClickFilterTest, DoubleClickGivesNoClick) {
    TrayClickFilter filter;
    filter.click(0, 400);
    filter.doubleClick();
    EXPECT_FALSE(filter.takeDueClick(400));
    EXPECT_FALSE(filter.takeDueClick(10000));
}

TEST(TrayClickFilterTest, SeparateClicksGiveOneEach) {
    TrayClickFilter filter;
    filter.click(0, 400);
    EXPECT_TRUE(filter.takeDueClick(450));
    filter.click(2000, 400);
    EXPECT_FALSE(filter.takeDueClick(2100));
    EXPECT_TRUE(filter.takeDueClick(2400));
}

TEST(TrayClickFilterTest, ClickDuringTheWaitNeitherAddsNorExtends) {
    TrayClickFilter filter;
    filter.click(0, 400);
    filter.click(300, 400);
    EXPECT_EQ(filter.dueAt(), 400);
    EXPECT_TRUE(filter.takeDueClick(400));
    EXPECT_FALSE(filter.takeDueClick(800));
}

class TrayIconTest : public ::testing::Test {
  protected:
    void SetUp() override {
        savedInterval_ = QApplication::doubleClickInterval();
        QApplication::setDoubleClickInterval(40);
        icon_.onMouseClick = [this] { ++clicks_; };
    }
    void TearDown() override { QApplication::setDoubleClickInterval(savedInterval_); }

    int savedInterval_ = 0;
    TrayIcon icon_;
    int clicks_ = 0;
};

TEST_F(TrayIconTest, ClickIsReportedAfterTheWaitAndDoubleClickNever) {
    icon_.activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks_, 0);
    ASSERT_TRUE(testing::processEventsUntil([&] { return clicks_ == 1; }));

    icon_.activated(QSystemTrayIcon::Trigger);
    icon_.activated(QSystemTrayIcon::DoubleClick);
    testing::processEventsFor(200);
    EXPECT_EQ(clicks_, 1);

    icon_.activated(QSystemTrayIcon::MiddleClick);
    ASSERT_TRUE(testing::processEventsUntil([&] { return clicks_ == 2; }));
}

TEST_F(TrayIconTest, WithoutDoubleClickCheckClicksAreReportedAtOnce) {
    icon_.checkSingleDoubleClick = false;
    icon_.activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks_, 1);
    icon_.activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks_, 2);
}

TEST_F(TrayIconTest, WithoutANotificationAreaThereIsNoIconAndNoError) {
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());  // the offscreen platform
    icon_.setTipHelp(QStringLiteral("Ravinel"));
    icon_.setVisible(true);
    EXPECT_FALSE(icon_.isShown());
    EXPECT_EQ(icon_.tipHelp(), QStringLiteral("Ravinel"));
}

}  // namespace
}  // namespace ravinel
