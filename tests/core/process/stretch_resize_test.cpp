#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dib/nk_dib_error.h"
#include "process/resample/g_resize.h"
#include "tests/core/process/picture.h"
#include "tests/expect_error.h"

namespace ravinel::testing {
namespace {

// Each pixel's colour names its position: blue x, green y.
Picture positions(int width, int height) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.at(x, y, 0) = static_cast<uint8_t>(x);
            picture.at(x, y, 1) = static_cast<uint8_t>(y);
            picture.at(x, y, 2) = 9;
        }
    }
    return picture;
}

// Source pixel s of length D-units and destination pixel d of length S-units overlap.
bool overlaps(int s, int d, int sourceLength, int destLength) {
    return s * destLength < (d + 1) * sourceLength && d * sourceLength < (s + 1) * destLength;
}

TEST(StretchDrawResize, EveryPixelIsASourcePixelUnderTheDestinationPixel) {
    for (const auto& [w, h, dw, dh] : std::vector<std::array<int, 4>>{
             {10, 7, 3, 3}, {10, 7, 23, 5}, {5, 9, 5, 30}, {1, 1, 4, 3}, {200, 150, 7, 149}}) {
        const Picture result = resized(stretchDrawResize, positions(w, h), dh, dw);
        for (int y = 0; y < dh; ++y) {
            for (int x = 0; x < dw; ++x) {
                const int sx = result.at(x, y, 0);
                const int sy = result.at(x, y, 1);
                ASSERT_EQ(result.at(x, y, 2), 9);
                ASSERT_TRUE(overlaps(sx, x, w, dw)) << x << " from " << sx;
                ASSERT_TRUE(overlaps(sy, y, h, dh)) << y << " from " << sy;
                // Each axis on its own: a column takes one source column throughout.
                ASSERT_EQ(sx, result.at(x, 0, 0));
                ASSERT_EQ(sy, result.at(0, y, 1));
            }
        }
    }
}

TEST(StretchDrawResize, WholeFactorsRepeatOrPickOnePixelPerBlock) {
    std::mt19937 rng(11);
    const Picture src = randomPicture(rng, 6, 4);
    const Picture bigger = resized(stretchDrawResize, src, 12, 18);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 18; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(bigger.at(x, y, c), src.at(x / 3, y / 3, c));
            }
        }
    }
    const Picture smaller = resized(stretchDrawResize, positions(12, 8), 2, 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(smaller.at(x, y, 0) / 4, x);
            EXPECT_EQ(smaller.at(x, y, 1) / 4, y);
        }
    }
}

// Each destination pixel computed on its own from exact overlap areas.
Picture referenceBoxStretch(const Picture& src, int height, int width) {
    Picture out(width, height);
    const auto overlap = [](int s, int d, int sl, int dl) {
        const int64_t begin = std::max<int64_t>(int64_t{s} * dl, int64_t{d} * sl);
        const int64_t end = std::min<int64_t>(int64_t{s + 1} * dl, int64_t{d + 1} * sl);
        return std::max<int64_t>(end - begin, 0);
    };
    const uint64_t area = uint64_t(src.width) * uint64_t(src.height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                uint64_t sum = 0;
                for (int sy = 0; sy < src.height; ++sy) {
                    for (int sx = 0; sx < src.width; ++sx) {
                        sum += uint64_t(overlap(sx, x, src.width, width) *
                                        overlap(sy, y, src.height, height)) *
                               src.at(sx, sy, c);
                    }
                }
                out.at(x, y, c) = static_cast<uint8_t>((2 * sum + area) / (2 * area));
            }
        }
    }
    return out;
}

TEST(HalftoneResize, MeansOfTheCoveredArea) {
    const Picture row = [] {
        Picture p(3, 1);
        const uint8_t v[] = {0, 100, 200};
        for (int x = 0; x < 3; ++x) {
            p.at(x, 0, 0) = p.at(x, 0, 1) = p.at(x, 0, 2) = v[x];
        }
        return p;
    }();
    // (2 x 0 + 100) / 3 and (100 + 2 x 200) / 3.
    const Picture two = resized(halftoneResize, row, 1, 2);
    EXPECT_EQ(two.at(0, 0, 0), 33);
    EXPECT_EQ(two.at(1, 0, 2), 167);

    std::mt19937 rng(12);
    const Picture src = randomPicture(rng, 9, 6);
    const Picture blocks = resized(halftoneResize, src, 2, 3);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int j = 0; j < 3; ++j) {
                    for (int i = 0; i < 3; ++i) {
                        sum += src.at(3 * x + i, 3 * y + j, c);
                    }
                }
                EXPECT_EQ(blocks.at(x, y, c), (2 * sum + 9) / 18);
            }
        }
    }
    const Picture bigger = resized(halftoneResize, src, 12, 27);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 27; ++x) {
            ASSERT_EQ(bigger.at(x, y, 1), src.at(x / 3, y / 2, 1));
        }
    }
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {4, 13}, {17, 5}}) {
        EXPECT_EQ(resized(halftoneResize, Picture(9, 6, 173), h, w), Picture(w, h, 173));
    }
}

TEST(HalftoneResize, MatchesExactOverlapAreasInEachAxis) {
    std::mt19937 rng(13);
    for (const auto& [w, h, dw, dh] : std::vector<std::array<int, 4>>{{7, 5, 3, 11},
                                                                      {7, 5, 13, 2},
                                                                      {1, 9, 4, 4},
                                                                      {10, 10, 10, 10},
                                                                      {23, 17, 9, 6},
                                                                      {5, 6, 11, 13}}) {
        const Picture src = randomPicture(rng, w, h);
        ASSERT_EQ(resized(halftoneResize, src, dh, dw), referenceBoxStretch(src, dh, dw))
            << w << "x" << h << " -> " << dw << "x" << dh;
    }
}

// The one test that needs the pixel-format conversion of NkDib.
TEST(Resize, AnEightBitSourceIsConvertedInPlace) {
    for (const Resizer resize : {areaReduce, areaExpand, stretchDrawResize, halftoneResize}) {
        NkDib src;
        src.setWidth(2);
        src.setHeight(2);
        src.setPaletteEntry(1, RgbQuad{10, 20, 30, 0});
        src.setPaletteEntry(2, RgbQuad{200, 100, 50, 0});
        src.scanLine(0)[1] = 1;
        src.scanLine(1)[0] = 2;
        NkDib dest;
        resize(dest, src, 2, 2);
        EXPECT_EQ(src.pixelFormat(), NkDibPixelFormat::pf24Bit);
        const Picture result = toPicture(dest);
        EXPECT_EQ(toPicture(src), result);
        EXPECT_EQ(result.at(1, 0, 0), 10);
        EXPECT_EQ(result.at(1, 0, 2), 30);
        EXPECT_EQ(result.at(0, 1, 1), 100);
        EXPECT_EQ(result.at(0, 0, 0), 0);
    }
}

TEST(Resize, DestinationMayBeTheSource) {
    std::mt19937 rng(14);
    const Picture original = randomPicture(rng, 12, 9);
    for (const Resizer resize : {areaReduce, stretchDrawResize, halftoneResize}) {
        NkDib picture = toDib(original);
        resize(picture, picture, 4, 5);
        EXPECT_EQ(toPicture(picture), resized(resize, original, 4, 5));
    }
    NkDib picture = toDib(original);
    areaExpand(picture, picture, 20, 30);
    EXPECT_EQ(toPicture(picture), resized(areaExpand, original, 20, 30));
}

TEST(Resize, StretchesRefuseZeroSizesThroughTheDib) {
    NkDib src = toDib(Picture(3, 3));
    NkDib dest;
    expectError<NkDibInvalidDibParaError>([&] { stretchDrawResize(dest, src, 0, 0); },
                                          "TNkDIB.SetWidth: Invalid Width");
    expectError<NkDibInvalidDibParaError>([&] { halftoneResize(dest, src, 0, 2); },
                                          "TNkDIB.SetWidth: Invalid Height");
}

}  // namespace
}  // namespace ravinel::testing
