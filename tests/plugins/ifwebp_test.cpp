#include <gtest/gtest.h>

#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

using namespace webp_source;

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
        ASSERT_EQ(picture.header.biBitCount, alpha ? 32 : 24);
        const ChannelDifference difference =
            differenceFrom(picture, [alpha](int x, int y) { return expectedRgb(x, y, alpha); });
        EXPECT_LE(difference.largest, maxDifference);
        EXPECT_LE(difference.mean, meanDifference);
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
