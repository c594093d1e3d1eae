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
        DecodedPicture picture;
        expectSizeThenDecode(module, encodeWebp(encoder, alpha ? 4 : 3), kWidth, kHeight,
                             alpha ? 32 : 24, &picture);
        if (HasFatalFailure()) {
            return;
        }
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
