#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "process/filter/image_filters.h"
#include "tests/core/process/picture.h"
#include "tests/every_path.h"

namespace ravinel::testing {
namespace {

using Filter = std::function<void(NkDib&, const NkDib&, const ProgressStageEvent&)>;

struct NamedFilter {
    std::string name;
    Filter run;
};

NamedFilter averaging(uint8_t threshold) {
    return {"conditionalAverage " + std::to_string(threshold),
            [threshold](NkDib& d, const NkDib& s, const ProgressStageEvent& p) {
                conditionalAverage(d, s, threshold, p);
            }};
}

NamedFilter averaging3DNow(uint8_t threshold) {
    return {"conditionalAverage3DNow " + std::to_string(threshold),
            [threshold](NkDib& d, const NkDib& s, const ProgressStageEvent& p) {
                conditionalAverage3DNow(d, s, threshold, p);
            }};
}

const std::vector<NamedFilter>& everyFilter() {
    static const std::vector<NamedFilter> filters = {
        {"sharpen", [](NkDib& d, const NkDib& s, const auto& p) { sharpen(d, s, p); }},
        {"normalizeBrightness",
         [](NkDib& d, const NkDib& s, const auto& p) { normalizeBrightness(d, s, p); }},
        {"normalizeBrightness3DNow",
         [](NkDib& d, const NkDib& s, const auto& p) { normalizeBrightness3DNow(d, s, p); }},
        averaging(0),
        averaging(1),
        averaging(15),
        averaging(254),
        averaging(255),
        averaging3DNow(0),
        averaging3DNow(15),
        averaging3DNow(255),
        {"ditherTo16Bit",
         [](NkDib& d, const NkDib& s, const auto&) {
             d = s;
             ditherTo16Bit(d);
         }},
    };
    return filters;
}

// What a caller sees of a run: the picture and every progress text, in order.
struct FilterRun {
    Picture picture;
    std::vector<std::string> texts;
    friend bool operator==(const FilterRun&, const FilterRun&) = default;
};

FilterRun runOf(const NamedFilter& filter, const Picture& src) {
    FilterRun run{Picture(0, 0), {}};
    NkDib dest;
    filter.run(dest, toDib(src),
               [&](ProcessStage stage) { run.texts.push_back(processStageText(stage)); });
    run.picture = toPicture(dest);
    return run;
}

// Each filter once, with the pipeline's threshold: for the large pictures.
std::vector<NamedFilter> eachFilterOnce() {
    std::vector<NamedFilter> filters;
    for (const NamedFilter& filter : everyFilter()) {
        const bool otherThreshold =
            filter.name.starts_with("conditional") && !filter.name.ends_with(" 15");
        if (!otherThreshold) {
            filters.push_back(filter);
        }
    }
    return filters;
}

void expectSameOnEveryPath(const Picture& src, const std::string& what,
                           const std::vector<NamedFilter>& filters = everyFilter()) {
    for (const NamedFilter& filter : filters) {
        expectSameResultOnEveryPath([&] { return runOf(filter, src); }, filter.name + " " + what);
    }
}

std::string sizeText(const Picture& picture) {
    return std::to_string(picture.width) + "x" + std::to_string(picture.height);
}

// Bytes from a narrow band, so that the luminance range is short and its stretch steep,
// with a few pixels anywhere, whose normalised luminance goes far below 0 and above 255.
Picture narrowPicture(std::mt19937& rng, int width, int height, int base, int spread) {
    Picture picture(width, height);
    std::uniform_int_distribution<int> band(base, base + spread);
    std::uniform_int_distribution<int> any(0, 255);
    std::uniform_int_distribution<int> percent(0, 99);
    for (size_t i = 0; i < picture.bytes.size(); i += 3) {
        const bool outlier = percent(rng) == 0;
        for (size_t c = 0; c < 3; ++c) {
            picture.bytes[i + c] = static_cast<uint8_t>(outlier ? any(rng) : band(rng));
        }
    }
    return picture;
}

// Greys of three levels (luminance = the level), so that the stretch is 127.5 and half
// of the normalised levels fall exactly halfway, with rare black and white pixels.
Picture threeGreys(std::mt19937& rng, int width, int height) {
    Picture picture(width, height);
    std::uniform_int_distribution<int> level(100, 102);
    std::uniform_int_distribution<int> permille(0, 999);
    for (size_t i = 0; i < picture.bytes.size(); i += 3) {
        const int draw = permille(rng);
        const int grey = draw == 0 ? 0 : draw == 1 ? 255 : level(rng);
        for (size_t c = 0; c < 3; ++c) {
            picture.bytes[i + c] = static_cast<uint8_t>(grey);
        }
    }
    return picture;
}

TEST(FilterPaths, RandomPicturesOfEveryNarrowWidth) {
    std::mt19937 rng(31);
    for (int width = 1; width <= 67; ++width) {
        for (int height : {1, 2, 3, 5, 7, 40}) {
            const Picture picture = randomPicture(rng, width, height);
            expectSameOnEveryPath(picture, "random " + sizeText(picture));
        }
    }
}

TEST(FilterPaths, SteepStretchesAndLevelsBeyondTheRange) {
    std::mt19937 rng(32);
    for (int width : {1, 8, 9, 16, 17, 18, 33, 50, 67}) {
        for (int height : {29, 61}) {
            expectSameOnEveryPath(narrowPicture(rng, width, height, 90, 12),
                                  "narrow band " + std::to_string(width));
            expectSameOnEveryPath(narrowPicture(rng, width, height, 0, 3), "dark band");
            expectSameOnEveryPath(narrowPicture(rng, width, height, 250, 5), "bright band");
            expectSameOnEveryPath(threeGreys(rng, width, height),
                                  "three greys " + std::to_string(width));
        }
    }
}

TEST(FilterPaths, UniformPicturesAndSingleLevels) {
    for (const uint8_t value : {0, 1, 128, 254, 255}) {
        for (const auto& [width, height] :
             std::vector<std::array<int, 2>>{{1, 1}, {17, 15}, {33, 9}, {300, 3}}) {
            expectSameOnEveryPath(Picture(width, height, value),
                                  "uniform " + std::to_string(value));
        }
    }
    // One luminance level (70) in two colours: normalisation leaves them alone.
    Picture colours(40, 20);
    for (int y = 0; y < colours.height; ++y) {
        for (int x = 0; x < colours.width; ++x) {
            const std::array<uint8_t, 3> colour = (x + y) % 2 == 1
                                                      ? std::array<uint8_t, 3>{0, 100, 38}
                                                      : std::array<uint8_t, 3>{100, 81, 38};
            for (int c = 0; c < 3; ++c) {
                colours.at(x, y, c) = colour[static_cast<size_t>(c)];
            }
        }
    }
    expectSameOnEveryPath(colours, "one level in two colours");
}

// Levels at the steps of the 5-6-5 quantisation and at the ends of the range, in random
// patterns and in stripes of black and white: the errors the dithering carries are the
// largest there, and the sums of the averaging and sharpening reach their extremes.
TEST(FilterPaths, LevelsAtTheQuantisationSteps) {
    std::mt19937 rng(35);
    constexpr std::array<uint8_t, 14> kLevels = {0,   1,   3,   4,   7,   8,   127,
                                                 128, 247, 248, 251, 252, 254, 255};
    std::uniform_int_distribution<size_t> pick(0, kLevels.size() - 1);
    for (const auto& [width, height] :
         std::vector<std::array<int, 2>>{{1, 9}, {5, 5}, {19, 13}, {64, 17}, {67, 41}}) {
        Picture steps(width, height);
        Picture stripes(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < 3; ++c) {
                    steps.at(x, y, c) = kLevels[pick(rng)];
                    stripes.at(x, y, c) = (x + y + c) % 2 == 0 ? 0 : 255;
                }
            }
        }
        expectSameOnEveryPath(steps, "steps " + sizeText(steps));
        expectSameOnEveryPath(stripes, "stripes " + sizeText(stripes));
    }
}

TEST(FilterPaths, LargePicturesSplitIntoBands) {
    std::mt19937 rng(33);
    for (const auto& [width, height] :
         std::vector<std::array<int, 2>>{{4000, 3}, {1283, 7}, {1283, 130}}) {
        expectSameOnEveryPath(randomPicture(rng, width, height),
                              "random " + std::to_string(width) + "x" + std::to_string(height),
                              eachFilterOnce());
    }
    expectSameOnEveryPath(narrowPicture(rng, 1283, 110, 60, 40), "narrow band 1283x110",
                          eachFilterOnce());
}

// Taller than the blocks the row reports go in, wide enough to split each block.
TEST(FilterPaths, ProgressIsTheSameOnEveryPath) {
    std::mt19937 rng(34);
    const Picture picture = narrowPicture(rng, 701, 420, 20, 200);
    for (const NamedFilter& filter : eachFilterOnce()) {
        const FilterRun run = expectSameResultOnEveryPath([&] { return runOf(filter, picture); },
                                                          filter.name + " progress");
        size_t empty = 0;
        for (const std::string& text : run.texts) {
            empty += text.empty() ? 1 : 0;
        }
        const size_t passes = filter.name.starts_with("normalize") ? 2
                              : filter.name.starts_with("dither")  ? 0
                                                                   : 1;
        EXPECT_EQ(empty, passes * 5) << filter.name;
    }
}

}  // namespace
}  // namespace ravinel::testing
