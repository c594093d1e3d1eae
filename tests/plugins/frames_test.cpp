#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/plugins/animation_encoders.h"
#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

using namespace animation_source;

constexpr int kWidth = 16;
constexpr int kHeight = 12;

// Four frames, one of each disposal: a full frame, a rectangle cleared after it, one
// (translucent where the format allows it, blended over) taken back after it, and one
// reaching past the canvas where the format allows that (GIF).
Animation sample(bool translucent, bool pastTheCanvas) {
    Animation a{kWidth, kHeight, {}};
    a.frames.push_back({0, 0, kWidth, kHeight, {0, 0, 255, 255}, 30, Dispose::none, false});
    a.frames.push_back({4, 3, 6, 5, {0, 255, 0, 255}, 50, Dispose::background, false});
    a.frames.push_back({2,
                        2,
                        8,
                        6,
                        {255, 0, 0, std::uint8_t(translucent ? 128 : 255)},
                        10,
                        Dispose::previous,
                        true});
    a.frames.push_back({12,
                        8,
                        pastTheCanvas ? 10 : 4,
                        pastTheCanvas ? 10 : 4,
                        {0, 255, 255, 255},
                        70,
                        Dispose::none,
                        false});
    return a;
}

struct FormatCase {
    const char* name;
    const char* plugin;
    Bytes (*encode)(const Animation&);
    bool translucent;
    bool pastTheCanvas;
};
void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.name;
}

Bytes encodeApngInOrder(const Animation& a) {
    return encodeApng(a);
}

std::int32_t frameCount(const SpiModule& module, const Bytes& data) {
    std::int32_t count = -1;
    EXPECT_EQ(module.getPictureFrameCount(reinterpret_cast<const char*>(data.data()),
                                          static_cast<std::intptr_t>(data.size()), SPI_INPUT_MEMORY,
                                          &count),
              SPI_ALL_RIGHT);
    return count;
}

std::int32_t frameDelay(const SpiModule& module, const Bytes& data, std::int32_t index) {
    std::int32_t delay = -1;
    const std::int32_t code = module.getPictureFrameDelay(
        reinterpret_cast<const char*>(data.data()), static_cast<std::intptr_t>(data.size()),
        SPI_INPUT_MEMORY, index, &delay);
    return code == SPI_ALL_RIGHT ? delay : -code;
}

// The frame's pixels against the canvas: alpha exactly, colours within one level where
// anything shows.
void expectCanvas(const DecodedPicture& frame, const Bytes& canvas) {
    ASSERT_EQ(frame.code, SPI_ALL_RIGHT);
    ASSERT_EQ(frame.header.biWidth, kWidth);
    ASSERT_EQ(frame.header.biHeight, kHeight);
    ASSERT_EQ(frame.header.biBitCount, 32);
    const std::size_t stride = std::size_t{kWidth} * 4;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t* got = &frame.bits[stride * (kHeight - 1 - y) + 4 * x];
            const std::uint8_t* want = &canvas[stride * y + 4 * x];
            ASSERT_EQ(got[3], want[3]) << x << "," << y;
            for (int c = 0; c < 3 && want[3] != 0; ++c) {
                ASSERT_LE(std::abs(got[c] - want[c]), 1) << x << "," << y << " channel " << c;
            }
        }
    }
}

class FramesTest : public testing::TestWithParam<FormatCase> {};

// Every frame is the canvas after the frames before it were drawn and disposed of, in
// order, out of order, and with its delay; indices past the frames are refused.
TEST_P(FramesTest, FramesComposeInOrderWithTheirDelays) {
    const FormatCase& c = GetParam();
    const SpiModule module(c.plugin);
    ASSERT_TRUE(module.loaded());
    ASSERT_NE(module.getPictureFrame, nullptr);
    const Animation animation = sample(c.translucent, c.pastTheCanvas);
    const Bytes data = c.encode(animation);
    const std::vector<Bytes> canvases = expectedCanvases(animation);

    ASSERT_EQ(frameCount(module, data), 4);
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frameDelay(module, data, i), animation.frames[i].delayMs) << i;
    }
    for (const std::int32_t i : {0, 1, 2, 3, 2, 0, 3, 1}) {
        SCOPED_TRACE(i);
        expectCanvas(frameFromMemory(module, data, i), canvases[i]);
    }
    for (const std::int32_t i : {-1, 4}) {
        EXPECT_EQ(frameFromMemory(module, data, i).code, SPI_OUT_OF_ORDER);
        EXPECT_EQ(frameDelay(module, data, i), -SPI_OUT_OF_ORDER);
    }
    // The still picture is the first frame.
    const DecodedPicture still = decodeFromMemory(module.getPicture, data);
    ASSERT_EQ(still.code, SPI_ALL_RIGHT);
    EXPECT_EQ(still.rgb(0, 0), (std::array<std::uint8_t, 3>{255, 0, 0}));

    // Cut short anywhere, the data give frames or refusals, never a crash.
    for (std::size_t size = 8; size < data.size(); size += 7) {
        const Bytes cut(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(size));
        std::int32_t count = 0;
        module.getPictureFrameCount(reinterpret_cast<const char*>(cut.data()),
                                    static_cast<std::intptr_t>(cut.size()), SPI_INPUT_MEMORY,
                                    &count);
        for (std::int32_t i = 0; i < std::min(count, 5); ++i) {
            frameFromMemory(module, cut, i);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, FramesTest,
    testing::Values(FormatCase{"Gif", IFGIF_PATH, encodeGif, false, true},
                    FormatCase{"Png", IFPNG_PATH, encodeApngInOrder, true, false},
                    FormatCase{"Webp", IFWEBP_PATH, encodeWebp, true, false}),
    [](const testing::TestParamInfo<FormatCase>& param) { return param.param.name; });

// Moving pictures that are too long or broken: ten thousand frames of no delay count and
// play to the last; an animated PNG whose frame sequence skips a number is a still picture.
TEST(BrokenFramesTest, LongAndBrokenAnimationsStayBounded) {
    const SpiModule gif(IFGIF_PATH);
    Animation many{1, 1, {}};
    for (int i = 0; i < 10000; ++i) {
        many.frames.push_back({0,
                               0,
                               1,
                               1,
                               {0, 0, std::uint8_t(i % 15 == 0 ? 255 : 0), 255},
                               0,
                               Dispose::none,
                               false});
    }
    const Bytes longGif = encodeGif(many);
    EXPECT_EQ(frameCount(gif, longGif), 10000);
    EXPECT_EQ(frameDelay(gif, longGif, 9999), 0);
    EXPECT_EQ(frameFromMemory(gif, longGif, 9999).code, SPI_ALL_RIGHT);

    const SpiModule png(IFPNG_PATH);
    const Bytes broken = encodeApng(sample(true, false), true);
    EXPECT_EQ(frameCount(png, broken), 1);
    EXPECT_EQ(decodeFromMemory(png.getPicture, broken).code, SPI_ALL_RIGHT);
    EXPECT_EQ(frameFromMemory(png, broken, 1).code, SPI_NOT_SUPPORT);
}

}  // namespace
}  // namespace ravinel::test
