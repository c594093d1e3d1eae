#include "process/filter/image_filters.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "tests/core/process/filter_reference.h"
#include "tests/core/process/picture.h"

namespace ravinel::testing {
namespace {

using Filter = std::function<void(NkDib&, const NkDib&)>;

Picture filtered(const Filter& filter, const Picture& src) {
    const NkDib source = toDib(src);
    NkDib dest;
    filter(dest, source);
    EXPECT_EQ(toPicture(source), src) << "the source changed";
    EXPECT_EQ(dest.width(), src.width);
    EXPECT_EQ(dest.height(), src.height);
    return toPicture(dest);
}

Picture dithered(const Picture& src) {
    NkDib pic = toDib(src);
    ditherTo16Bit(pic);
    return toPicture(pic);
}

Picture uniform(int width, int height, std::array<uint8_t, 3> colour) {
    Picture picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                picture.at(x, y, c) = colour[static_cast<size_t>(c)];
            }
        }
    }
    return picture;
}

// Odd shapes: single pixels, single rows and columns, primes, more than 100 rows.
const std::vector<std::array<int, 2>> kSizes = {{1, 1},  {1, 9},   {9, 1},   {2, 3},
                                                {13, 7}, {5, 131}, {131, 3}, {29, 37}};

const Filter kSharpen = [](NkDib& d, const NkDib& s) { sharpen(d, s); };
const Filter kNormalize = [](NkDib& d, const NkDib& s) { normalizeBrightness(d, s); };

Filter conditional(uint8_t threshold) {
    return [threshold](NkDib& d, const NkDib& s) { conditionalAverage(d, s, threshold); };
}

TEST(ImageFilters, SharpenMatchesTheKernelOnRandomPictures) {
    std::mt19937 rng(1);
    for (const auto& [w, h] : kSizes) {
        const Picture src = randomPicture(rng, w, h);
        EXPECT_EQ(filtered(kSharpen, src), referenceSharpen(src)) << w << "x" << h;
    }
}

TEST(ImageFilters, SharpenKeepsUniformPicturesAndIsolatesAWhitePixel) {
    for (const std::array<uint8_t, 3> colour :
         {std::array<uint8_t, 3>{0, 0, 0}, {255, 255, 255}, {17, 128, 254}}) {
        const Picture flat = uniform(6, 5, colour);
        EXPECT_EQ(filtered(kSharpen, flat), flat);
    }
    Picture dot(5, 5);
    for (int c = 0; c < 3; ++c) {
        dot.at(2, 2, c) = 255;
    }
    // 28 x 255 / 16 clamps to 255; the neighbours go negative and clamp to 0.
    EXPECT_EQ(filtered(kSharpen, dot), dot);
}

TEST(ImageFilters, NormalizeMatchesTheDefinitionOnRandomPictures) {
    std::mt19937 rng(2);
    for (const auto& [w, h] : kSizes) {
        const Picture src = randomPicture(rng, w, h);
        EXPECT_EQ(filtered(kNormalize, src), referenceNormalize(src, Arithmetic::plain))
            << w << "x" << h;
    }
    // Narrow luminance ranges stretch far, and dark or bright outliers fall below lo or
    // above hi.
    for (const auto& [low, high] :
         std::vector<std::array<int, 2>>{{90, 130}, {0, 40}, {200, 255}}) {
        Picture src(37, 29);
        std::uniform_int_distribution<int> value(low, high);
        for (uint8_t& b : src.bytes) {
            b = static_cast<uint8_t>(value(rng));
        }
        src.at(0, 0, 1) = 0;
        src.at(1, 0, 1) = 255;
        EXPECT_EQ(filtered(kNormalize, src), referenceNormalize(src, Arithmetic::plain))
            << low << ".." << high;
    }
}

TEST(ImageFilters, NormalizeStretchesTwoGreyLevelsToBlackAndWhite) {
    Picture src(32, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            for (int c = 0; c < 3; ++c) {
                src.at(x, y, c) = (x + y) % 2 ? 150 : 50;
            }
        }
    }
    const Picture out = filtered(kNormalize, src);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(out.at(x, y, c), src.at(x, y, c) == 150 ? 255 : 0);
            }
        }
    }
}

TEST(ImageFilters, NormalizeLeavesSmallAndSingleLevelPicturesUnchanged) {
    std::mt19937 rng(3);
    const Picture small = randomPicture(rng, 15, 15);
    EXPECT_EQ(filtered(kNormalize, small), small);
    // 4096 pixels of one luminance but different colours, and a few outliers that the
    // 1/256 clipping at both ends removes.
    Picture level(64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool alternate = (x + y) % 2 == 1;
            level.at(x, y, 0) = alternate ? 0 : 120;
            level.at(x, y, 1) = alternate ? 100 : 100;
            level.at(x, y, 2) = alternate ? 136 : 91;
        }
    }
    level.at(0, 0, 1) = 0;
    level.at(5, 5, 1) = 255;
    EXPECT_EQ(filtered(kNormalize, level), level);
}

TEST(ImageFilters, ConditionalAverageMatchesTheDefinitionOnRandomPictures) {
    std::mt19937 rng(4);
    for (const int threshold : {0, 1, 15, 64, 200, 255}) {
        for (const auto& [w, h] : kSizes) {
            // Few distinct levels, so that neighbours pass and fail the test alike.
            Picture src(w, h);
            std::uniform_int_distribution<int> value(0, 4);
            for (uint8_t& b : src.bytes) {
                b = static_cast<uint8_t>(value(rng) * 37);
            }
            EXPECT_EQ(filtered(conditional(static_cast<uint8_t>(threshold)), src),
                      referenceConditionalAverage(src, threshold))
                << w << "x" << h << " threshold " << threshold;
        }
    }
}

TEST(ImageFilters, ConditionalAverageExtremeThresholds) {
    std::mt19937 rng(5);
    Picture src(23, 19);
    std::uniform_int_distribution<int> value(0, 2);
    for (uint8_t& b : src.bytes) {
        b = static_cast<uint8_t>(value(rng) * 100);
    }
    // Only equal neighbours take part.
    EXPECT_EQ(filtered(conditional(0), src), src);
    // Every neighbour takes part: the 3 x 3 box mean rounded half up, edges repeated.
    const Picture random = randomPicture(rng, 23, 19);
    const Picture box = filtered(conditional(255), random);
    for (int y = 0; y < random.height; ++y) {
        for (int x = 0; x < random.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        sum += random.at(std::clamp(x + dx, 0, random.width - 1),
                                         std::clamp(y + dy, 0, random.height - 1), c);
                    }
                }
                ASSERT_EQ(box.at(x, y, c), (2 * sum + 9) / 18) << x << "," << y;
            }
        }
    }
}

TEST(ImageFilters, DitherMatchesTheDefinitionOnRandomPictures) {
    std::mt19937 rng(6);
    std::vector<std::array<int, 2>> sizes = kSizes;
    sizes.push_back({4099, 3});  // wider than a fixed 4098-entry error row
    for (const auto& [w, h] : sizes) {
        const Picture src = randomPicture(rng, w, h);
        const Picture out = dithered(src);
        EXPECT_EQ(out, referenceDither(src)) << w << "x" << h;
        for (size_t i = 0; i < out.bytes.size(); ++i) {
            ASSERT_EQ(out.bytes[i] % (i % 3 == 1 ? 4 : 8), 0) << i;
        }
    }
}

TEST(ImageFilters, DitherKeepsQuantisedPicturesAndDiffusesOneRowRightwardOnly) {
    std::mt19937 rng(7);
    Picture levels = randomPicture(rng, 31, 17);
    for (size_t i = 0; i < levels.bytes.size(); ++i) {
        levels.bytes[i] &= i % 3 == 1 ? 0xFC : 0xF8;
    }
    EXPECT_EQ(dithered(levels), levels);

    // In a single row each pixel depends only on itself and the pixels to its left.
    const Picture row = randomPicture(rng, 40, 1);
    const Picture out = dithered(row);
    for (const int split : {1, 17, 39}) {
        Picture changed = row;
        for (int x = split; x < row.width; ++x) {
            changed.at(x, 0, 0) = static_cast<uint8_t>(255 - changed.at(x, 0, 0));
        }
        const Picture changedOut = dithered(changed);
        for (int x = 0; x < split; ++x) {
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(changedOut.at(x, 0, c), out.at(x, 0, c)) << split << " " << x;
            }
        }
    }
    // A mid-level that no level matches: the error carried to the right makes the row
    // alternate between the two nearest levels, not stay on the lower one.
    const Picture grey = uniform(8, 1, {100, 102, 100});
    const Picture greyOut = dithered(grey);
    int sum = 0;
    for (int x = 0; x < 8; ++x) {
        sum += greyOut.at(x, 0, 0);
        ASSERT_TRUE(greyOut.at(x, 0, 0) == 96 || greyOut.at(x, 0, 0) == 104);
    }
    EXPECT_NEAR(sum / 8.0, 100, 4);
}

TEST(ImageFilters, DestinationMayBeTheSourceAndIsResized) {
    std::mt19937 rng(8);
    const Picture src = randomPicture(rng, 11, 300);
    const std::vector<std::pair<Filter, Picture>> cases = {
        {kSharpen, referenceSharpen(src)},
        {kNormalize, referenceNormalize(src, Arithmetic::plain)},
        {conditional(40), referenceConditionalAverage(src, 40)}};
    for (const auto& [filter, expected] : cases) {
        NkDib pic = toDib(src);
        const NkDib shared = pic;
        filter(pic, pic);
        EXPECT_EQ(toPicture(pic), expected);
        EXPECT_EQ(toPicture(shared), src) << "a copy sharing the store changed";
        NkDib other;
        other.setBitCount(8);
        other.setWidth(3);
        filter(other, shared);
        EXPECT_EQ(toPicture(other), expected);
    }
}

TEST(ImageFilters, NarrowSourcesAreWidenedFirst) {
    NkDib palette;
    palette.setBitCount(8);
    palette.setWidth(7);
    palette.setHeight(5);
    for (int i = 0; i < 256; ++i) {
        palette.setPaletteEntry(i, RgbQuad{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                           static_cast<uint8_t>(i / 2), 0});
    }
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            palette.scanLine(y)[x] = static_cast<uint8_t>(37 * x + 11 * y);
        }
    }
    NkDib wide = palette;
    wide.setPixelFormat(NkDibPixelFormat::pf24Bit);
    const Picture widened = toPicture(wide);
    NkDib dest;
    sharpen(dest, palette);
    EXPECT_EQ(toPicture(dest), referenceSharpen(widened));
    EXPECT_EQ(palette.bitCount(), 8);
    ditherTo16Bit(palette);
    EXPECT_EQ(toPicture(palette), referenceDither(widened));
}

// The texts each filter reports, and dest's height when it reports a stage text.
struct Reports {
    std::vector<std::string> texts;
    std::vector<int> stageHeights;
};

Reports reportsOf(const std::function<void(NkDib&, const NkDib&, const ProgressStageEvent&)>& run,
                  const Picture& src) {
    Reports reports;
    NkDib dest;
    const NkDib source = toDib(src);
    run(dest, source, [&](ProcessStage stage) {
        const std::string text = processStageText(stage);
        reports.texts.push_back(text);
        if (!text.empty()) {
            reports.stageHeights.push_back(dest.height());
        }
    });
    return reports;
}

TEST(ImageFilters, ProgressReportsStagesAndEveryHundredthRow) {
    std::mt19937 rng(9);
    const Picture tall = randomPicture(rng, 3, 201);
    const std::vector<std::string> sharpenTexts = {"シャープ処理中", "", "", ""};
    EXPECT_EQ(
        reportsOf([](NkDib& d, const NkDib& s, const auto& p) { sharpen(d, s, p); }, tall).texts,
        sharpenTexts);
    const Reports average = reportsOf(
        [](NkDib& d, const NkDib& s, const auto& p) { conditionalAverage(d, s, 15, p); }, tall);
    EXPECT_EQ(average.texts, (std::vector<std::string>{"条件付平均化処理中", "", "", ""}));
    EXPECT_EQ(average.stageHeights, std::vector<int>{201}) << "the stage text follows the sizing";

    const auto normalize = [](NkDib& d, const NkDib& s, const auto& p) {
        normalizeBrightness(d, s, p);
    };
    EXPECT_EQ(
        reportsOf(normalize, tall).texts,
        (std::vector<std::string>{"輝度範囲取得中", "", "", "", "輝度調整処理中", "", "", ""}));
    // Too small to stretch: only the histogram pass runs.
    EXPECT_EQ(reportsOf(normalize, randomPicture(rng, 1, 101)).texts,
              (std::vector<std::string>{"輝度範囲取得中", "", ""}));
}

}  // namespace
}  // namespace ravinel::testing
