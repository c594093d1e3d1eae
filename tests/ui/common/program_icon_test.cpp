#include "common/program_icon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>

namespace ravinel {
namespace {

// The icon is compiled into the program and drawn from SVG; both must work at run time.
TEST(ProgramIconTest, RendersAtTheSizesDesktopsAskFor) {
    for (const int size : {16, 32, 256}) {
        const QImage image = programIcon().pixmap(size, size).toImage();
        ASSERT_FALSE(image.isNull()) << size;
        EXPECT_EQ(image.width(), size);
        EXPECT_GT(qAlpha(image.pixel(size / 2, size / 2)), 0) << size;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << size;  // rounded corner
    }
}

}  // namespace
}  // namespace ravinel
