#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "codec/bmp/tolerant_bmp_reader.h"
#include "dib/channel_mask.h"
#include "dib/dib_conversions.h"
#include "dib/dib_pixel_index.h"
#include "dib/nk_dib.h"
#include "dib/nk_internal_dib.h"
#include "tests/bmp_builder.h"
#include "tests/every_path.h"

namespace ravinel {
namespace {

using testing::expectSameResultOnEveryPath;

// Sizes of the equivalence checks: every narrow width with odd heights, rows longer than
// any vector step, and pictures large enough to be split over the threads.
std::vector<std::pair<int, int>> pictureSizes() {
    std::vector<std::pair<int, int>> sizes;
    for (int width = 1; width <= 67; ++width) {
        sizes.emplace_back(width, width % 3 == 0 ? 1 : 2 * (width % 4) + 3);
    }
    sizes.insert(sizes.end(), {{4000, 3}, {1283, 7}, {701, 301}});
    return sizes;
}

std::vector<uint8_t> randomBytes(std::mt19937& rng, size_t count) {
    std::uniform_int_distribution<int> value(0, 255);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) {
        b = static_cast<uint8_t>(value(rng));
    }
    return bytes;
}

std::shared_ptr<NkInternalDib> randomPaletted(std::mt19937& rng, int width, int height,
                                              int bitCount, bool topDown) {
    auto store =
        NkInternalDib::createDib(width, topDown ? -height : height, 1 << bitCount, bitCount);
    const std::vector<uint8_t> pixels = randomBytes(rng, store->pixels.size());
    std::copy(pixels.begin(), pixels.end(), store->pixels.data());
    const std::vector<uint8_t> colours = randomBytes(rng, 3 * kMaxPaletteEntries);
    for (size_t i = 0; i < store->colorTable.size(); ++i) {
        store->colorTable[i] = RgbQuad{colours[3 * i], colours[3 * i + 1], colours[3 * i + 2], 0};
    }
    return store;
}

std::vector<uint8_t> pixelsOf(const NkInternalDib& store) {
    return {store.pixels.data(), store.pixels.data() + store.pixels.size()};
}

TEST(ConversionPaths, PalettePicturesWidenAlikeOnEveryPath) {
    std::mt19937 rng(7);
    for (const auto& [width, height] : pictureSizes()) {
        for (int from : {1, 4, 8}) {
            for (bool topDown : {false, true}) {
                const auto source = randomPaletted(rng, width, height, from, topDown);
                const std::string what = std::to_string(from) + " bits " + std::to_string(width) +
                                         "x" + std::to_string(height);
                for (int to : {4, 8, 24}) {
                    if (to <= from) {
                        continue;
                    }
                    const std::vector<uint8_t> wide = expectSameResultOnEveryPath(
                        [&] { return pixelsOf(*widenBitCount(*source, to)); },
                        what + " to " + std::to_string(to));
                    if (to != 24) {
                        continue;
                    }
                    // Each pixel is its palette colour, row order kept, padding zero.
                    const size_t stride = dibStride(24, width);
                    bool same = true;
                    for (int y = 0; y < height; ++y) {
                        const uint8_t* in = source->pixels.data() + y * source->stride();
                        const uint8_t* out = wide.data() + y * stride;
                        for (int x = 0; x < width; ++x) {
                            const RgbQuad& c = source->colorTable[paletteIndex(in, x, from)];
                            same = same && out[3 * x] == c.rgbBlue &&
                                   out[3 * x + 1] == c.rgbGreen && out[3 * x + 2] == c.rgbRed;
                        }
                        for (size_t i = 3 * static_cast<size_t>(width); i < stride; ++i) {
                            same = same && out[i] == 0;
                        }
                    }
                    EXPECT_TRUE(same) << what << " to 24 bits";
                }
            }
        }
    }
}

// Masks the vector paths must spread exactly as the portable division does: wide and
// narrow channels, a one-bit channel, a channel whose bits are not contiguous, and the
// 10-bit channels of 32-bit pictures.
const std::vector<std::array<uint32_t, 3>>& masksOf(int bitCount) {
    static const std::vector<std::array<uint32_t, 3>> sixteen{{0x7C00, 0x03E0, 0x001F},
                                                              {0xF800, 0x07E0, 0x001F},
                                                              {0x0F00, 0x00F0, 0x000F},
                                                              {0x8000, 0x7FFE, 0x0001},
                                                              {0xA5A5, 0x5A00, 0x005A}};
    static const std::vector<std::array<uint32_t, 3>> thirtyTwo{
        {0xFF0000, 0x00FF00, 0x0000FF},
        {0x3FF00000, 0x000FFC00, 0x000003FF},
        {0xFF000000, 0x00000001, 0x00F0F0F0},
        {0x80000000, 0x7FFFFFFF, 0x00000003}};
    return bitCount == 16 ? sixteen : thirtyTwo;
}

TEST(ConversionPaths, MaskedPixelsSpreadAlikeOnEveryPath) {
    std::mt19937 rng(11);
    for (int bitCount : {16, 32}) {
        for (const auto& masks : masksOf(bitCount)) {
            const MaskedPixels pixels(masks, bitCount);
            const ChannelMask red(masks[0]);
            const ChannelMask green(masks[1]);
            const ChannelMask blue(masks[2]);
            for (int count : {1, 2, 5, 9, 10, 11, 17, 18, 19, 33, 67, 4000}) {
                std::vector<uint8_t> in = randomBytes(rng, count * bitCount / 8);
                // The extremes of every channel at the row's start.
                std::fill_n(in.begin(), std::min<size_t>(in.size(), bitCount / 8), 0xFF);
                const std::string what = std::to_string(bitCount) + " bits, masks " +
                                         std::to_string(masks[0]) + " " + std::to_string(count);
                const std::vector<uint8_t> out = expectSameResultOnEveryPath(
                    [&] {
                        std::vector<uint8_t> bgr(3 * static_cast<size_t>(count));
                        pixels.toBgr(in.data(), static_cast<size_t>(count), bgr.data());
                        return bgr;
                    },
                    what);
                for (int x = 0; x < count; ++x) {
                    uint32_t pixel = 0;
                    for (int b = bitCount / 8 - 1; b >= 0; --b) {
                        pixel = pixel << 8 | in[static_cast<size_t>(x * bitCount / 8 + b)];
                    }
                    ASSERT_EQ(out[3 * x], blue.value(pixel)) << what << " pixel " << x;
                    ASSERT_EQ(out[3 * x + 1], green.value(pixel)) << what << " pixel " << x;
                    ASSERT_EQ(out[3 * x + 2], red.value(pixel)) << what << " pixel " << x;
                }
            }
        }
    }
}

std::vector<uint8_t> rowsOf(const NkDib& dib) {
    std::vector<uint8_t> bytes;
    for (int y = 0; y < dib.height(); ++y) {
        const uint8_t* row = dib.constScanLine(y);
        bytes.insert(bytes.end(), row, row + dib.stride());
    }
    return bytes;
}

// Both BMP readers turn 16 and 32-bit files into the same 24-bit rows on every path,
// whichever way the rows run and however the picture is split over the threads.
TEST(ConversionPaths, MaskedBmpFilesReadAlikeOnEveryPath) {
    std::mt19937 rng(13);
    for (const auto& [width, height] : pictureSizes()) {
        for (int bitCount : {16, 32}) {
            for (bool topDown : {false, true}) {
                testing::BmpBuilder bmp;
                bmp.width = width;
                bmp.height = topDown ? -height : height;
                bmp.bitCount = static_cast<uint16_t>(bitCount);
                bmp.compression = 3;  // bit fields
                const auto& masks = masksOf(bitCount)[static_cast<size_t>(width) % 3];
                bmp.masks.assign(masks.begin(), masks.end());
                bmp.pixels = randomBytes(rng, dibStride(bitCount, width) * height);
                const std::vector<uint8_t> file = bmp.file();
                const std::string what = std::to_string(bitCount) + " bits " +
                                         std::to_string(width) + "x" + std::to_string(height) +
                                         (topDown ? " top-down" : "");
                const std::vector<uint8_t> strict = expectSameResultOnEveryPath(
                    [&] {
                        NkDib dib;
                        dib.loadFromStream(file);
                        return rowsOf(dib);
                    },
                    what);
                const std::vector<uint8_t> tolerant = expectSameResultOnEveryPath(
                    [&] { return rowsOf(readTolerantBmp(file)); }, what + " tolerant");
                EXPECT_EQ(strict, tolerant) << what;
            }
        }
    }
}

}  // namespace
}  // namespace ravinel
