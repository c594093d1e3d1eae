#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "image/halftone_conversion.h"
#include "image/nk_internal_dib.h"
#include "tests/every_path.h"

namespace ravinel {
namespace {

using testing::expectSameResultOnEveryPath;

std::shared_ptr<NkInternalDib> filledSource(int width, int height, int bitCount, bool topDown,
                                            const std::function<uint8_t(size_t)>& byte) {
    auto store = NkInternalDib::createDib(width, topDown ? -height : height,
                                          bitCount == 24 ? 0 : 1 << bitCount, bitCount);
    for (size_t i = 0; i < store->pixels.size(); ++i) {
        store->pixels.data()[i] = byte(i);
    }
    for (size_t i = 0; i < store->colorTable.size(); ++i) {
        store->colorTable[i] = RgbQuad{byte(3 * i), byte(3 * i + 1), byte(3 * i + 2), 0};
    }
    return store;
}

std::vector<uint8_t> halftoneBytes(const NkInternalDib& source, bool blackAndWhite) {
    const auto dest = blackAndWhite ? convertToHalfToneBW(source) : convertToHalfTone(source);
    return {dest->pixels.data(), dest->pixels.data() + dest->pixels.size()};
}

void expectBothHalftonesAlike(const NkInternalDib& source, const std::string& what) {
    for (bool blackAndWhite : {false, true}) {
        expectSameResultOnEveryPath([&] { return halftoneBytes(source, blackAndWhite); },
                                    what + (blackAndWhite ? " black and white" : " colour"));
    }
}

TEST(HalftonePaths, RandomPicturesGiveTheSameIndicesOnEveryPath) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> value(0, 255);
    auto random = [&](size_t) { return static_cast<uint8_t>(value(rng)); };
    std::vector<std::pair<int, int>> sizes;
    for (int width = 1; width <= 67; width += 3) {
        sizes.emplace_back(width, 2 * (width % 5) + 1);
    }
    sizes.insert(sizes.end(), {{4000, 3}, {1283, 7}});
    for (const auto& [width, height] : sizes) {
        for (int bits : {1, 4, 8, 24}) {
            for (bool topDown : {false, true}) {
                expectBothHalftonesAlike(*filledSource(width, height, bits, topDown, random),
                                         std::to_string(bits) + " bits " + std::to_string(width) +
                                             "x" + std::to_string(height));
            }
        }
    }
}

// Flat pictures at the ends of the range, and saturated colours: in black and white the
// channels of a pure colour drift apart over the picture, which builds the largest errors.
TEST(HalftonePaths, FlatAndSaturatedPicturesGiveTheSameIndicesOnEveryPath) {
    const std::vector<std::array<uint8_t, 3>> colours{
        {0, 0, 0}, {255, 255, 255}, {0, 0, 255}, {255, 255, 0}, {0, 255, 0}, {128, 128, 127}};
    for (const auto& bgr : colours) {
        const auto source = filledSource(301, 97, 24, false, [](size_t) { return uint8_t{0}; });
        for (int y = 0; y < source->height; ++y) {
            uint8_t* row = source->pixels.data() + static_cast<size_t>(y) * source->stride();
            for (int x = 0; x < source->width; ++x) {
                std::copy(bgr.begin(), bgr.end(), row + 3 * x);
            }
        }
        expectBothHalftonesAlike(*source, "flat " + std::to_string(bgr[0]) + "," +
                                              std::to_string(bgr[1]) + "," +
                                              std::to_string(bgr[2]));
    }
}

}  // namespace
}  // namespace ravinel
