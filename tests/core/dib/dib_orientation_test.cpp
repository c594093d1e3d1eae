#include "dib/dib_orientation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/parallel_bands.h"
#include "tests/core/dib/dib_test_pictures.h"
#include "tests/orientation_cases.h"

namespace ravinel {
namespace {

using testing::distinct;
using testing::kTurnCases;
using testing::paletted;
using testing::TurnCase;

std::vector<std::string> letters(const NkDib& dib) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < dib.height(); ++y) {
        std::string row;
        for (int32_t x = 0; x < dib.width(); ++x) {
            row += static_cast<char>('A' + paletteIndex(dib.constScanLine(y), x, 8));
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(TurnedUpright, PlacesEveryPixelForEachOrientation) {
    const NkDib stored = paletted(
        8, 3, 2, [](int x, int y) { return y * 3 + x; }, distinct);
    for (const TurnCase& c : kTurnCases) {
        const DibOrientation orientation = dibOrientationOfTag(c.tag);
        EXPECT_EQ(letters(turnedUpright(stored, orientation)), c.upright) << "tag " << c.tag;
        EXPECT_EQ(swapsSides(orientation), c.upright.size() == 3) << "tag " << c.tag;
    }
}

// Packed pixels, rows whose ends fall inside a byte, and three bytes a pixel land where the
// 8-bit picture's indices land, with the palette kept; every row of the source must be read.
TEST(TurnedUpright, EveryBitCountLikeEightBits) {
    for (const int bits : {1, 4, 24}) {
        const int levels = bits == 24 ? 251 : 1 << bits;
        auto index = [levels](int x, int y) { return (x * 5 + y * 3 + x * y) % levels; };
        const NkDib eightBits = paletted(8, 13, 5, index, distinct);
        NkDib stored = eightBits;
        if (bits == 24) {
            stored.setPixelFormat(NkDibPixelFormat::pf24Bit);
        } else {
            stored = paletted(bits, 13, 5, index, distinct);
        }
        for (int tag = 1; tag <= 8; ++tag) {
            const DibOrientation orientation = dibOrientationOfTag(tag);
            const NkDib expected = turnedUpright(eightBits, orientation);
            const NkDib upright = turnedUpright(stored, orientation);
            ASSERT_EQ(upright.bitCount(), bits);
            ASSERT_EQ(upright.width(), expected.width());
            ASSERT_EQ(upright.height(), expected.height());
            EXPECT_EQ(testing::colors(upright), testing::colors(expected))
                << bits << " bits, tag " << tag;
        }
    }
}

// Large enough to be split over the threads: packed rows must come out as on one thread.
TEST(TurnedUpright, BandsGiveTheBytesOfOneThread) {
    const NkDib stored = paletted(
        1, 700, 300, [](int x, int y) { return (x * 3 + y * 7 + x * y) % 5 == 0; }, distinct);
    const unsigned before = processThreads();
    setProcessThreads(4);
    for (const int tag : {3, 6}) {
        const NkDib split = turnedUpright(stored, dibOrientationOfTag(tag));
        setProcessThreads(1);
        const NkDib single = turnedUpright(stored, dibOrientationOfTag(tag));
        setProcessThreads(4);
        EXPECT_EQ(testing::indices(split), testing::indices(single)) << "tag " << tag;
    }
    setProcessThreads(before);
}

TEST(TurnedUpright, TagsOutsideTheRangeAndUprightPicturesStayAsStored) {
    const NkDib stored = paletted(
        8, 3, 2, [](int x, int y) { return y * 3 + x; }, distinct);
    for (const int tag : {0, 1, 9, -1, 65535}) {
        EXPECT_EQ(dibOrientationOfTag(tag), DibOrientation::topLeft) << tag;
    }
    EXPECT_TRUE(turnedUpright(stored, DibOrientation::topLeft).sharesStoreWith(stored));
}

}  // namespace
}  // namespace ravinel
