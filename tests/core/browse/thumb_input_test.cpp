#include "browse/thumb_input.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

TEST(ArrowKeyTarget, DownReachesTheLastRow) {
    // Ten items in four columns: the last row holds 8 and 9.
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 7, 10, 4), 9);  // column 3, nothing below
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 5, 10, 4), 9);  // straight below
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 9, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 8, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, -1, 10, 4), 0);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 3, 4, 4), std::nullopt);  // a single row
}

TEST(ArrowKeyTarget, SidewaysAndUpStayInsideTheList) {
    EXPECT_EQ(arrowKeyTarget(ArrowKey::left, 0, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::left, 4, 10, 4), 3);  // wraps to the row above
    EXPECT_EQ(arrowKeyTarget(ArrowKey::left, -1, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::right, -1, 10, 4), 0);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::right, 9, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::up, 3, 10, 4), std::nullopt);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::up, 9, 10, 4), 5);
    EXPECT_EQ(arrowKeyTarget(ArrowKey::up, -1, 10, 4), std::nullopt);
}

TEST(ArrowKeyTarget, NothingInAnEmptyListOrWithoutColumns) {
    for (ArrowKey key : {ArrowKey::left, ArrowKey::right, ArrowKey::up, ArrowKey::down}) {
        EXPECT_EQ(arrowKeyTarget(key, -1, 0, 4), std::nullopt);
    }
    EXPECT_EQ(arrowKeyTarget(ArrowKey::down, 0, 3, 0), 1);
}

TEST(WheelScroll, SixteenPixelsANotch) {
    EXPECT_EQ(wheelStep(120), 16);
    EXPECT_EQ(wheelStep(-120), -16);
    EXPECT_EQ(wheelStep(1), 1);  // a fine turn still moves
    EXPECT_EQ(wheelStep(-7), -1);
    EXPECT_EQ(wheelStep(0), 0);
    EXPECT_EQ(wheelScrollPosition(100, 120, 500), 84);  // away from the user: up
    EXPECT_EQ(wheelScrollPosition(5, 120, 500), 0);
    EXPECT_EQ(wheelScrollPosition(495, -120, 500), 500);
    EXPECT_EQ(wheelScrollPosition(0, -120, 0), 0);
}

}  // namespace
}  // namespace ravinel
