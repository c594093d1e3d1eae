#include "dib/dib_rle.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dib/dib_pixel_index.h"
#include "dib/dib_types.h"
#include "dib/nk_dib_error.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::expectError;

std::vector<uint8_t> expand(int bits, const std::vector<uint8_t>& coded, int32_t width,
                            int32_t height) {
    std::vector<uint8_t> plain(dibStride(bits, width) * static_cast<size_t>(height));
    if (bits == 8) {
        expandRle8(coded, width, height, plain);
    } else {
        expandRle4(coded, width, height, plain);
    }
    return plain;
}

std::vector<uint8_t> compress(int bits, const std::vector<uint8_t>& plain, int32_t width,
                              int32_t height, bool topDown = false) {
    return bits == 8 ? compressRle8(plain, width, height, topDown)
                     : compressRle4(plain, width, height, topDown);
}

// Random rows of runs, repeats of two alternating values and noise, padding left zero.
std::vector<uint8_t> randomPicture(std::mt19937& rng, int bits, int32_t width, int32_t height) {
    const size_t stride = dibStride(bits, width);
    std::vector<uint8_t> plain(stride * static_cast<size_t>(height));
    const int values = bits == 8 ? 256 : 16;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = plain.data() + static_cast<size_t>(y) * stride;
        int32_t x = 0;
        while (x < width) {
            const int kind = static_cast<int>(rng() % 3);
            const int length = static_cast<int>(rng() % 300) + 1;
            const auto a = static_cast<uint8_t>(rng() % values);
            const auto b = static_cast<uint8_t>(rng() % values);
            for (int i = 0; i < length && x < width; ++i, ++x) {
                const uint8_t v = kind == 0   ? a
                                  : kind == 1 ? (i % 2 == 0 ? a : b)
                                              : static_cast<uint8_t>(rng() % values);
                setPaletteIndex(row, x, bits, v);
            }
        }
    }
    return plain;
}

TEST(DibRle, RandomPicturesSurviveCompression) {
    std::mt19937 rng(1234);
    for (int bits : {8, 4}) {
        for (int32_t width : {1, 2, 3, 5, 7, 254, 255, 256, 257, 511, 600}) {
            SCOPED_TRACE(::testing::Message() << bits << " bits, width " << width);
            const int32_t height = static_cast<int32_t>(rng() % 5) + 1;
            const std::vector<uint8_t> plain = randomPicture(rng, bits, width, height);
            const std::vector<uint8_t> coded = compress(bits, plain, width, height);
            EXPECT_EQ(expand(bits, coded, width, height), plain);
            // No worse than storing each row plainly with a little overhead per block.
            const size_t rowBytes = (static_cast<size_t>(width) * bits + 7) / 8;
            EXPECT_LE(coded.size(), height * (rowBytes + 2 * (rowBytes / 127 + 2) + 2));
        }
    }
}

TEST(DibRle, TopDownRowsAreCodedBottomUp) {
    std::mt19937 rng(99);
    for (int bits : {8, 4}) {
        const std::vector<uint8_t> plain = randomPicture(rng, bits, 9, 4);
        std::vector<uint8_t> flipped;
        const size_t stride = dibStride(bits, 9);
        for (int y = 3; y >= 0; --y) {
            flipped.insert(flipped.end(), plain.begin() + static_cast<ptrdiff_t>(y * stride),
                           plain.begin() + static_cast<ptrdiff_t>((y + 1) * stride));
        }
        EXPECT_EQ(compress(bits, flipped, 9, 4, true), compress(bits, plain, 9, 4));
    }
}

TEST(DibRle, CodesFollowTheBitmapLayout) {
    // Eight bits: a run of four, an absolute block of three padded to a word, end of line,
    // then one pixel and the end of the bitmap.
    const std::vector<uint8_t> plain8{5, 5, 5, 5, 1, 2, 3, 0, 9, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<uint8_t> coded8{4, 5, 0, 3, 1, 2, 3, 0, 0, 0, 1, 9, 6, 0, 0, 1};
    EXPECT_EQ(compress(8, plain8, 7, 2), coded8);
    // Four bits: a run of alternating nibbles, then two pixels that no run repeats.
    const std::vector<uint8_t> plain4{0x12, 0x12, 0x12, 0x34};
    const std::vector<uint8_t> coded4{6, 0x12, 2, 0x34, 0, 1};
    EXPECT_EQ(compress(4, plain4, 8, 1), coded4);
    // A long uniform row takes one code per 255 pixels.
    const std::vector<uint8_t> uniform(600, 7);
    EXPECT_EQ(compress(8, uniform, 600, 1), (std::vector<uint8_t>{255, 7, 255, 7, 90, 7, 0, 1}));
}

TEST(DibRle, DeltasSkipPixelsThatStayZero) {
    // Row 0: two 7s, a delta of 1 right and 1 up, then on row 1: absolute 4 nibbles.
    const std::vector<uint8_t> coded4{2, 0x77, 0, 2, 1, 1, 0, 4, 0xAB, 0xCD, 0, 1};
    const std::vector<uint8_t> plain4 = expand(4, coded4, 7, 2);
    EXPECT_EQ(plain4, (std::vector<uint8_t>{0x77, 0, 0, 0, 0, 0x0A, 0xBC, 0xD0}));
    // Eight bits, data ending without an end-of-bitmap after a complete code.
    const std::vector<uint8_t> coded8{0, 2, 2, 0, 1, 4, 0, 0, 2, 8};
    EXPECT_EQ(expand(8, coded8, 3, 2), (std::vector<uint8_t>{0, 0, 4, 0, 8, 8, 0, 0}));
}

TEST(DibRle, EachKindOfBadDataHasItsMessage) {
    struct Case {
        std::vector<uint8_t> coded;
        int defect;
    };
    // A 4 x 2 picture.
    const Case cases[] = {
        {{3}, 1},                       // the data end inside a run
        {{0, 2, 1}, 1},                 // ... inside a delta
        {{0, 4, 1, 2, 3}, 1},           // ... inside an absolute block
        {{0, 3, 1, 2, 3}, 1},           // ... before the block's padding
        {{5, 1}, 2},                    // a run past the row end
        {{2, 1, 0, 3, 1, 2, 3, 0}, 2},  // an absolute block past the row end
        {{0, 2, 5, 0}, 3},              // a delta right of the row end
        {{0, 2, 0, 3}, 3},              // a delta above the top row
        {{0, 0, 0, 0, 1, 1}, 4},        // a pixel after the last row
        {{0, 0, 0, 0, 0, 0}, 4},        // an end of line after the last row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.coded));
        expectError<NkDibInvalidDibError>(
            [&] { expand(8, c.coded, 4, 2); },
            "Convert8BitRLETo8BitRGB: Bad RLE Data " + std::to_string(c.defect));
        // The four-bit codes read the same except that absolute blocks hold nibbles: a
        // three-pixel block is two bytes and needs no padding.
        if (c.coded.size() == 5 && c.coded[1] == 3) {
            continue;
        }
        expectError<NkDibInvalidDibError>(
            [&] { expand(4, c.coded, 4, 2); },
            "Convert4BitRLETo4BitRGB: Bad RLE Data " + std::to_string(c.defect + 4));
    }
}

}  // namespace
}  // namespace ravinel
