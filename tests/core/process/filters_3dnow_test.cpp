#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "process/filter/brightness_mapping.h"
#include "process/filter/image_filters.h"
#include "tests/core/process/filter_reference.h"
#include "tests/core/process/picture.h"

namespace ravinel::testing {
namespace {

// Whether the packed channel arithmetic can give another byte than the plain one: when Yn
// is a negative half (the plain variant rounds it away from zero, the packed one up), or
// when one of the two single-precision adds is inexact.
bool packedMayDiffer(float yn, int d) {
    const double exactSum = static_cast<double>(d) + yn;
    const auto sum = static_cast<float>(exactSum);
    const double exactBiased = static_cast<double>(sum) + 0.5;
    const bool negativeHalf = yn < 0 && yn - std::floor(yn) == 0.5f;
    return negativeHalf || sum != exactSum || static_cast<float>(exactBiased) != exactBiased;
}

// A colour of luminance y whose blue difference is db.
std::array<uint8_t, 3> colourWith(int y, int db) {
    for (int b = 0; b < 256; ++b) {
        for (int g = 0; g < 256; ++g) {
            for (int r = 0; r < 256; ++r) {
                if (luminance(b, g, r) == y && colourDifferences(b, g, r).b == db) {
                    return {static_cast<uint8_t>(b), static_cast<uint8_t>(g),
                            static_cast<uint8_t>(r)};
                }
            }
        }
    }
    ADD_FAILURE() << "no colour of luminance " << y << " with blue difference " << db;
    return {0, 0, 0};
}

// 512 pixels: the given colour twice, the rest grey at lo and at hi in equal shares, so that
// with 2 pixels clipped at each end the range is lo..hi.
Picture pictureWithRange(int lo, int hi, std::array<uint8_t, 3> colour) {
    Picture src(32, 16);
    for (int i = 0; i < 512; ++i) {
        const uint8_t grey = static_cast<uint8_t>(i % 2 ? hi : lo);
        for (int c = 0; c < 3; ++c) {
            src.bytes[3 * static_cast<size_t>(i) + static_cast<size_t>(c)] =
                i < 2 ? colour[static_cast<size_t>(c)] : grey;
        }
    }
    return src;
}

// The blue byte of the first pixel after each variant.
std::array<int, 2> firstBlue(const Picture& src) {
    const NkDib source = toDib(src);
    NkDib plain;
    NkDib packed;
    normalizeBrightness(plain, source);
    normalizeBrightness3DNow(packed, source);
    return {plain.constScanLine(0)[0], packed.constScanLine(0)[0]};
}

TEST(Filters3DNow, NegativeHalfLuminanceRoundsUpInThePackedVariant) {
    EXPECT_EQ(normalizedChannel(-1.5f, 10), 8);
    EXPECT_EQ(normalizedChannel3DNow(-1.5f, 10), 9);
    // 255 / 170 = 1.5 exactly: a pixel one level below lo has Yn = -1.5.
    const Picture src = pictureWithRange(50, 220, colourWith(49, 10));
    EXPECT_EQ(firstBlue(src), (std::array<int, 2>{8, 9}));
}

TEST(Filters3DNow, SinglePrecisionAddsCanRoundAPositiveLuminanceUp) {
    const float yn = normalizedLuminance(7, 0, brightnessScale(0, 14));
    EXPECT_EQ(yn, 127.5f - 0x1p-17f);
    EXPECT_EQ(normalizedChannel(yn, 1), 128);
    // 1 + Yn rounds to 128.5 in single precision.
    EXPECT_EQ(normalizedChannel3DNow(yn, 1), 129);
    const Picture src = pictureWithRange(100, 114, colourWith(107, 1));
    EXPECT_EQ(firstBlue(src), (std::array<int, 2>{128, 129}));
}

TEST(Filters3DNow, NormalizeDiffersFromThePlainVariantOnlyWhereTheArithmeticDoes) {
    std::mt19937 rng(21);
    int predicted = 0;
    for (const auto& [w, h, low, high] : std::vector<std::array<int, 4>>{{1, 1, 0, 255},
                                                                         {17, 16, 0, 255},
                                                                         {61, 37, 90, 130},
                                                                         {23, 131, 0, 60},
                                                                         {101, 7, 190, 255},
                                                                         {53, 53, 120, 134}}) {
        Picture src(w, h);
        std::uniform_int_distribution<int> value(low, high);
        for (uint8_t& b : src.bytes) {
            b = static_cast<uint8_t>(value(rng));
        }
        const NkDib source = toDib(src);
        NkDib plainDib;
        NkDib packedDib;
        normalizeBrightness(plainDib, source);
        normalizeBrightness3DNow(packedDib, source);
        const Picture plain = toPicture(plainDib);
        const Picture packed = toPicture(packedDib);
        ASSERT_EQ(plain, referenceNormalize(src, Arithmetic::plain));
        ASSERT_EQ(packed, referenceNormalize(src, Arithmetic::packed));
        const std::optional<LuminanceRange> range = referenceRange(src);
        if (!range) {
            ASSERT_EQ(packed, src);
            continue;
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const NormalizedPixel pixel = referenceNormalizedPixel(src, x, y, *range);
                for (int c = 0; c < 3; ++c) {
                    const int difference = packed.at(x, y, c) - plain.at(x, y, c);
                    if (packedMayDiffer(pixel.yn, pixel.d[c])) {
                        ++predicted;
                        ASSERT_LE(std::abs(difference), 1);
                    } else {
                        ASSERT_EQ(difference, 0) << x << "," << y << " Yn " << pixel.yn;
                    }
                }
            }
        }
    }
    EXPECT_GT(predicted, 0) << "no pixel exercised the differing arithmetic";
}

TEST(Filters3DNow, ConditionalAverageEqualsThePlainVariant) {
    std::mt19937 rng(22);
    for (const int threshold : {0, 3, 15, 100, 255}) {
        for (const auto& [w, h] :
             std::vector<std::array<int, 2>>{{1, 1}, {1, 6}, {6, 1}, {19, 23}, {7, 103}}) {
            Picture src(w, h);
            std::uniform_int_distribution<int> value(0, 6);
            for (uint8_t& b : src.bytes) {
                b = static_cast<uint8_t>(value(rng) * 11 + (threshold > 50 ? value(rng) * 25 : 0));
            }
            const NkDib source = toDib(src);
            NkDib packed;
            conditionalAverage3DNow(packed, source, static_cast<uint8_t>(threshold));
            ASSERT_EQ(toPicture(packed), referenceConditionalAverage(src, threshold))
                << w << "x" << h << " threshold " << threshold;
        }
    }
    const Picture flat(9, 4, 77);
    NkDib packed;
    conditionalAverage3DNow(packed, toDib(flat), 255);
    EXPECT_EQ(toPicture(packed), flat);
}

TEST(Filters3DNow, ProgressLikeThePlainVariants) {
    std::mt19937 rng(23);
    const NkDib source = toDib(randomPicture(rng, 5, 150));
    std::vector<std::string> texts;
    std::vector<int> stageHeights;
    NkDib dest;
    const ProgressStageEvent record = [&](ProcessStage stage) {
        const std::string text = processStageText(stage);
        texts.push_back(text);
        if (!text.empty()) {
            stageHeights.push_back(dest.height());
        }
    };
    normalizeBrightness3DNow(dest, source, record);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"輝度範囲取得中", "", "", "輝度調整処理中", "", ""}));
    texts.clear();
    stageHeights.clear();
    dest = NkDib();
    conditionalAverage3DNow(dest, source, 15, record);
    EXPECT_EQ(texts, (std::vector<std::string>{"条件付平均化処理中", "", ""}));
    EXPECT_EQ(stageHeights, std::vector<int>{1}) << "the stage text comes before the sizing";
}

}  // namespace
}  // namespace ravinel::testing
