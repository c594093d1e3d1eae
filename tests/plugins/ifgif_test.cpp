#include <gif_lib.h>
#include <gtest/gtest.h>

#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

using namespace gif_source;

// The colour the viewer shows at a screen position of the first frame.
std::array<std::uint8_t, 3> expectedRgb(const GifFrame& frame, int x, int y) {
    const int fx = x - frame.left;
    const int fy = y - frame.top;
    if (fx < 0 || fy < 0 || fx >= frame.width || fy >= frame.height) {
        return {255, 255, 255};
    }
    const int i = indexAt(frame, fx, fy);
    if (i == frame.transparentIndex) {
        return {255, 255, 255};
    }
    const GifColorType colour = colourOf(i);
    return {colour.Red, colour.Green, colour.Blue};
}

class GifPlugin : public testing::Test {
  protected:
    void expectFirstFrame(const std::vector<GifFrame>& frames, int bitCount) {
        ASSERT_TRUE(module.loaded());
        const Bytes gif = encodeGif(frames);
        ASSERT_TRUE(module.supports(gif));
        const auto [code, info] = pictureInfoFromMemory(module, gif);
        ASSERT_EQ(code, SPI_ALL_RIGHT);
        EXPECT_EQ(info.width, kScreenWidth);
        EXPECT_EQ(info.height, kScreenHeight);
        EXPECT_EQ(info.colorDepth, 4);

        const DecodedPicture picture = decodeEverywhere(module, gif);
        ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
        ASSERT_EQ(picture.header.biWidth, kScreenWidth);
        ASSERT_EQ(picture.header.biHeight, kScreenHeight);
        ASSERT_EQ(picture.header.biBitCount, bitCount);
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                ASSERT_EQ(picture.rgb(x, y), expectedRgb(frames[0], x, y)) << x << "," << y;
                if (bitCount == 8) {
                    ASSERT_EQ(picture.index(x, y), indexAt(frames[0], x, y));
                }
            }
        }
    }

    static inline SpiModule module{IFGIF_PATH};
};

TEST_F(GifPlugin, KeepsThePaletteOfAnOpaqueFullFrame) {
    expectFirstFrame({GifFrame{}}, 8);
}

TEST_F(GifPlugin, ReadsInterlacedFrames) {
    GifFrame frame;
    frame.interlaced = true;
    expectFirstFrame({frame}, 8);
}

TEST_F(GifPlugin, GivesTransparentPixelsNoOpacity) {
    GifFrame frame;
    frame.transparentIndex = 3;
    expectFirstFrame({frame}, 32);
}

TEST_F(GifPlugin, GivesTheScreenOutsideASmallerFrameNoOpacity) {
    GifFrame frame;
    frame.left = 4;
    frame.top = 3;
    frame.width = 20;
    frame.height = 9;
    expectFirstFrame({frame}, 32);
}

TEST_F(GifPlugin, DecodesOnlyTheFirstFrameOfAnAnimation) {
    GifFrame second;
    second.indexShift = 7;
    second.transparentIndex = 1;
    expectFirstFrame({GifFrame{}, second}, 8);
}

TEST_F(GifPlugin, RefusesTruncatedAndCorruptedData) {
    ASSERT_TRUE(module.loaded());
    GifFrame frame;
    frame.interlaced = true;
    const Bytes gif = encodeGif({frame});
    // The trailer byte and the end-of-data block may go; the pixel codes may not.
    expectRejectsBrokenData(module, gif, gif.size() - 2);
}

}  // namespace
}  // namespace ravinel::test
