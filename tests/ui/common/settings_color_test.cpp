#include "common/settings_color.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

TEST(SettingsColor, PlainAndSystemColours) {
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    palette.setColor(QPalette::Button, QColor(4, 5, 6));
    palette.setColor(QPalette::Base, QColor(7, 8, 9));
    palette.setColor(QPalette::Window, QColor(10, 11, 12));
    // Stored blue, green, red from the high byte down.
    EXPECT_EQ(settingsColor(0x00FF8040, palette), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(settingsColor(0x8000000D, palette), QColor(1, 2, 3));  // highlight
    EXPECT_EQ(settingsColor(0x8000000F, palette), QColor(4, 5, 6));  // button face
    EXPECT_EQ(settingsColor(0x80000005, palette), QColor(7, 8, 9));  // window
    EXPECT_EQ(settingsColor(0x800000FF, palette), QColor(4, 5, 6));  // unknown index
    EXPECT_EQ(settingsColor(0x20000000, palette), QColor(10, 11, 12));
    EXPECT_EQ(settingsColor(0x1FFFFFFF, palette).alpha(), 0);
}

}  // namespace
}  // namespace ravinel
