#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <vector>

#include "dib/nk_dib_error.h"
#include "process/resample/area_passes.h"
#include "process/resample/g_resize.h"
#include "tests/core/process/area_reference.h"
#include "tests/core/process/picture.h"
#include "tests/expect_error.h"

namespace ravinel::testing {
namespace {

Picture greyLine(std::vector<uint8_t> values) {
    Picture picture(static_cast<int>(values.size()), 1);
    for (int x = 0; x < picture.width; ++x) {
        for (int c = 0; c < 3; ++c) {
            picture.at(x, 0, c) = values[x];
        }
    }
    return picture;
}

TEST(AreaResize, HandWorkedExamples) {
    EXPECT_EQ(resized(areaReduce, greyLine({0, 0, 255, 255}), 1, 2), greyLine({0, 255}));
    EXPECT_EQ(resized(areaReduce, greyLine({0, 0, 255, 255}), 1, 1), greyLine({128}));
    EXPECT_EQ(resized(areaExpand, greyLine({0, 255}), 1, 3), greyLine({0, 128, 255}));
}

TEST(AreaResize, SameSizeReturnsTheSource) {
    std::mt19937 rng(1);
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {5, 3}, {31, 17}}) {
        const Picture src = randomPicture(rng, w, h);
        EXPECT_EQ(resized(areaReduce, src, h, w), src) << w << "x" << h;
        EXPECT_EQ(resized(areaExpand, src, h, w), src) << w << "x" << h;
    }
}

TEST(AreaResize, UniformPicturesStayUniform) {
    for (const uint8_t value : {uint8_t{0}, uint8_t{1}, uint8_t{127}, uint8_t{200}, uint8_t{255}}) {
        const Picture src(50, 40, value);
        for (const auto& [w, h] : std::vector<std::pair<int, int>>{
                 {1, 1}, {2, 3}, {7, 5}, {25, 20}, {49, 39}, {50, 1}, {1, 40}}) {
            EXPECT_EQ(resized(areaReduce, src, h, w), Picture(w, h, value))
                << int{value} << " " << w << "x" << h;
        }
        EXPECT_EQ(resized(areaExpand, Picture(3, 2, value), 7, 11), Picture(11, 7, value));
    }
    // Far more than 513 source pixels per destination pixel: the mean stays exact.
    EXPECT_EQ(resized(areaReduce, Picture(1200, 2, 255), 1, 1), Picture(1, 1, 255));
    EXPECT_EQ(resized(areaReduce, Picture(3, 1500, 201), 1, 1), Picture(1, 1, 201));
}

TEST(AreaResize, TwiceTheSizeDuplicatesEveryPixel) {
    std::mt19937 rng(2);
    const Picture src = randomPicture(rng, 9, 6);
    const Picture result = resized(areaExpand, src, 12, 18);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 18; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(result.at(x, y, c), src.at(x / 2, y / 2, c)) << x << "," << y;
            }
        }
    }
}

TEST(AreaResize, SingleColumnIsReducedAlongItsLength) {
    Picture column(1, 4);
    const uint8_t values[] = {0, 0, 255, 255};
    for (int y = 0; y < 4; ++y) {
        column.at(0, y, 0) = values[y];
        column.at(0, y, 1) = values[y] / 5;
    }
    const Picture result = resized(areaReduce, column, 2, 1);
    EXPECT_EQ(result.at(0, 0, 0), 0);
    EXPECT_EQ(result.at(0, 1, 0), 255);
    EXPECT_EQ(result.at(0, 1, 1), 51);
    EXPECT_EQ(resized(areaExpand, column, 8, 1).at(0, 7, 0), 255);
}

TEST(AreaResize, BigRatiosGiveTheRoundedMean) {
    std::mt19937 rng(3);
    const Picture src = randomPicture(rng, 1, 2000);
    uint64_t sums[3] = {0, 0, 0};
    for (int y = 0; y < 2000; ++y) {
        for (int c = 0; c < 3; ++c) {
            sums[c] += src.at(0, y, c);
        }
    }
    const Picture result = resized(areaReduce, src, 1, 1);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(result.at(0, 0, c), (2 * sums[c] + 2000) / 4000) << c;
    }
}

// Sizes chosen to hit odd lengths, primes, 1, the same size, ratios near 1 and far from it.
TEST(AreaResize, MatchesThePlainRulesOnRandomPictures) {
    std::mt19937 rng(4);
    struct Case {
        int w, h, dw, dh;
    };
    const std::vector<Case> reductions = {
        {1, 1, 1, 1},     {7, 1, 3, 1},    {1, 9, 1, 4},      {13, 11, 13, 11},   {13, 11, 12, 10},
        {64, 48, 32, 24}, {97, 89, 31, 7}, {100, 99, 99, 98}, {101, 103, 1, 1},   {61, 67, 60, 2},
        {1100, 3, 2, 1},  {5, 1100, 3, 1}, {1030, 600, 1, 1}, {256, 17, 255, 16}, {41, 37, 17, 29}};
    for (const Case& c : reductions) {
        const Picture src = randomPicture(rng, c.w, c.h);
        ASSERT_EQ(resized(areaReduce, src, c.dh, c.dw), referenceAreaReduce(src, c.dh, c.dw))
            << c.w << "x" << c.h << " -> " << c.dw << "x" << c.dh;
    }
    const std::vector<Case> enlargements = {
        {1, 1, 1, 1},      {1, 1, 5, 3},     {2, 3, 3, 4},     {7, 5, 7, 5},
        {7, 5, 8, 6},      {13, 11, 26, 33}, {17, 19, 97, 89}, {99, 100, 100, 101},
        {3, 2, 1000, 700}, {31, 7, 61, 59}};
    for (const Case& c : enlargements) {
        const Picture src = randomPicture(rng, c.w, c.h);
        ASSERT_EQ(resized(areaExpand, src, c.dh, c.dw), referenceAreaExpand(src, c.dh, c.dw))
            << c.w << "x" << c.h << " -> " << c.dw << "x" << c.dh;
    }
    for (int round = 0; round < 40; ++round) {
        std::uniform_int_distribution<int> side(1, 120);
        const int w = side(rng);
        const int h = side(rng);
        const Picture src = randomPicture(rng, w, h);
        const int dw = std::uniform_int_distribution<int>(1, w)(rng);
        const int dh = std::uniform_int_distribution<int>(1, h)(rng);
        ASSERT_EQ(resized(areaReduce, src, dh, dw), referenceAreaReduce(src, dh, dw))
            << w << "x" << h << " -> " << dw << "x" << dh;
        const int ew = std::uniform_int_distribution<int>(w, 4 * w)(rng);
        const int eh = std::uniform_int_distribution<int>(h, 4 * h)(rng);
        ASSERT_EQ(resized(areaExpand, src, eh, ew), referenceAreaExpand(src, eh, ew))
            << w << "x" << h << " -> " << ew << "x" << eh;
    }
}

// Lengths at which 32-bit fixed-point products overflow: D x 2^17 for D >= 16384 when
// reducing, (s + 1) x D beyond 2^31 when enlarging.
TEST(AreaResize, LongLinesMatchThePlainRules) {
    std::mt19937 rng(5);
    const Picture wide = randomPicture(rng, 16500, 1);
    ASSERT_EQ(resized(areaReduce, wide, 1, 16411), referenceAreaReduce(wide, 1, 16411));
    const Picture longer = randomPicture(rng, 46000, 1);
    ASSERT_EQ(resized(areaExpand, longer, 1, 50021), referenceAreaExpand(longer, 1, 50021));
}

TEST(AreaResize, AnAxisThatWouldGrowOrShrinkTheWrongWayStaysBlack) {
    std::mt19937 rng(6);
    const Picture src = randomPicture(rng, 6, 5);
    EXPECT_EQ(resized(areaReduce, src, 4, 7), Picture(7, 4));
    EXPECT_EQ(resized(areaReduce, src, 6, 3), Picture(3, 6));
    EXPECT_EQ(resized(areaExpand, src, 9, 5), Picture(5, 9));
}

TEST(AreaPasses, APassAskedTheWrongWayWritesNothing) {
    std::mt19937 rng(7);
    const NkDib src = toDib(randomPicture(rng, 6, 5));
    const Picture marked(8, 5, 77);
    NkDib dest = toDib(marked);
    areaReduceH(dest, src, 8);
    EXPECT_EQ(toPicture(dest), marked);
    const Picture narrow(4, 5, 77);
    dest = toDib(narrow);
    areaExpandH(dest, src, 4);
    EXPECT_EQ(toPicture(dest), narrow);
    const Picture tall(6, 9, 77);
    dest = toDib(tall);
    areaReduceV(dest, src, 9);
    EXPECT_EQ(toPicture(dest), tall);
    const Picture flat(6, 2, 77);
    dest = toDib(flat);
    areaExpandV(dest, src, 2);
    EXPECT_EQ(toPicture(dest), flat);
}

TEST(AreaPasses, RefuseADestinationOfTheWrongSize) {
    const NkDib src = toDib(Picture(6, 5));
    NkDib dest = toDib(Picture(3, 4));
    EXPECT_THROW(areaReduceH(dest, src, 3), std::invalid_argument);
    EXPECT_THROW(areaReduceV(dest, src, 4), std::invalid_argument);
    NkDib eightBit;
    EXPECT_THROW(areaExpandH(dest, eightBit, 3), std::invalid_argument);
}

TEST(AreaResize, ZeroSizesAreRefusedByTheDib) {
    NkDib src = toDib(Picture(4, 4));
    NkDib dest;
    expectError<NkDibInvalidDibParaError>([&] { areaReduce(dest, src, 0, 0); },
                                          "TNkDIB.SetWidth: Invalid Height");
    expectError<NkDibInvalidDibParaError>([&] { areaExpand(dest, src, 5, 0); },
                                          "TNkDIB.SetWidth: Invalid Width");
}

}  // namespace
}  // namespace ravinel::testing
