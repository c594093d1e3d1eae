#include "browse/place_image.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

TEST(PlaceImage, FillsTheSquareOnTheLongerSide) {
    // A 96 x 48 thumbnail in a 110-wide tile, square 96 from the top at 5.
    EXPECT_EQ(placeImage(96, 48, 96, 110, 5), (ImageRect{7, 29, 103, 77}));
    EXPECT_EQ(placeImage(48, 96, 96, 110, 5), (ImageRect{31, 5, 79, 101}));
    EXPECT_EQ(placeImage(96, 96, 96, 110, 5), (ImageRect{7, 5, 103, 101}));
}

TEST(PlaceImage, CentresWhatIsSmallerThanTheSquare) {
    // A 32 x 32 icon.
    EXPECT_EQ(placeImage(32, 32, 96, 110, 5), (ImageRect{39, 37, 71, 69}));
    EXPECT_EQ(placeImage(31, 10, 96, 100, 0), (ImageRect{34, 43, 65, 53}));
}

TEST(PlaceImage, LargerThanTheSquareKeepsItsTopLeftOnTheLongSide) {
    // A thumbnail from a larger square setting than the tile's.
    EXPECT_EQ(placeImage(120, 60, 96, 110, 0), (ImageRect{7, 18, 127, 78}));
    // A square narrower than the tile is centred; a wider one reaches out to the left.
    EXPECT_EQ(placeImage(10, 10, 96, 90, 0), (ImageRect{40, 43, 50, 53}));
}

}  // namespace
}  // namespace ravinel
