#include <gtest/gtest.h>
#include <webp/encode.h>

#include <cstdlib>

#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

constexpr int kWidth = 41;
constexpr int kHeight = 27;

// Smooth gradients, so that lossy coding stays close to them.
std::uint8_t sampleAt(int x, int y, int channel) {
    switch (channel) {
        case 0:
            return static_cast<std::uint8_t>(x * 6);
        case 1:
            return static_cast<std::uint8_t>(y * 9);
        case 2:
            return static_cast<std::uint8_t>((x + y) * 3);
        default:
            return static_cast<std::uint8_t>(x * 255 / (kWidth - 1));
    }
}

// Blue, green, red (and alpha) rows, top row first.
Bytes pixels(int channels) {
    Bytes out;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (int c = 0; c < channels; ++c) {
                out.push_back(sampleAt(x, y, c));
            }
        }
    }
    return out;
}

using Encoder = std::size_t (*)(const Bytes& source, std::uint8_t** output);

Bytes encodeWebp(Encoder encoder, int channels) {
    std::uint8_t* output = nullptr;
    const std::size_t size = encoder(pixels(channels), &output);
    Bytes out(output, output + size);
    WebPFree(output);
    return out;
}

std::size_t losslessBgr(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeLosslessBGR(s.data(), kWidth, kHeight, kWidth * 3, out);
}
std::size_t losslessBgra(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeLosslessBGRA(s.data(), kWidth, kHeight, kWidth * 4, out);
}
std::size_t lossyBgr(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeBGR(s.data(), kWidth, kHeight, kWidth * 3, 95, out);
}
std::size_t lossyBgra(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeBGRA(s.data(), kWidth, kHeight, kWidth * 4, 95, out);
}

std::array<std::uint8_t, 3> expectedRgb(int x, int y, bool alpha) {
    const unsigned a = alpha ? sampleAt(x, y, 3) : 255;
    return {overWhite(sampleAt(x, y, 2), a), overWhite(sampleAt(x, y, 1), a),
            overWhite(sampleAt(x, y, 0), a)};
}

class WebpPlugin : public testing::Test {
  protected:
    // Lossy pictures are compared by their largest and mean differences.
    void expectDecodes(Encoder encoder, bool alpha, int maxDifference, double meanDifference) {
        ASSERT_TRUE(module.loaded());
        const Bytes webp = encodeWebp(encoder, alpha ? 4 : 3);
        ASSERT_FALSE(webp.empty());
        ASSERT_TRUE(module.supports(webp));
        const auto [code, info] = pictureInfoFromMemory(module, webp);
        ASSERT_EQ(code, SPI_ALL_RIGHT);
        EXPECT_EQ(info.width, kWidth);
        EXPECT_EQ(info.height, kHeight);
        EXPECT_EQ(info.colorDepth, alpha ? 32 : 24);

        const DecodedPicture picture = decodeEverywhere(module, webp);
        ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
        ASSERT_EQ(picture.header.biWidth, kWidth);
        ASSERT_EQ(picture.header.biHeight, kHeight);
        ASSERT_EQ(picture.header.biBitCount, 24);
        int largest = 0;
        double total = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const auto actual = picture.rgb(x, y);
                const auto expected = expectedRgb(x, y, alpha);
                for (int c = 0; c < 3; ++c) {
                    const int difference = std::abs(actual[c] - expected[c]);
                    largest = std::max(largest, difference);
                    total += difference;
                }
            }
        }
        EXPECT_LE(largest, maxDifference);
        EXPECT_LE(total / (kWidth * kHeight * 3), meanDifference);
    }

    static inline SpiModule module{IFWEBP_PATH};
};

TEST_F(WebpPlugin, DecodesLosslessPicturesExactly) {
    expectDecodes(losslessBgr, false, 0, 0);
    expectDecodes(losslessBgra, true, 0, 0);
}

TEST_F(WebpPlugin, DecodesLossyPicturesClosely) {
    expectDecodes(lossyBgr, false, 24, 3);
    expectDecodes(lossyBgra, true, 24, 3);
}

TEST_F(WebpPlugin, RefusesTruncatedAndCorruptedData) {
    ASSERT_TRUE(module.loaded());
    for (const Encoder encoder : {losslessBgra, lossyBgr}) {
        const Bytes webp = encodeWebp(encoder, encoder == losslessBgra ? 4 : 3);
        expectRejectsBrokenData(module, webp, webp.size());
    }
}

}  // namespace
}  // namespace ravinel::test
