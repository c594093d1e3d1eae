#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "image/byte_reader.h"
#include "image/graphic_load_error.h"
#include "image/jpeg_frame_walk.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using fixtures::encodeJpeg;
using fixtures::gradientPicture;
using fixtures::SamplePicture;

// The largest difference of any channel between the decoded picture and the source.
int largestError(const NkDib& dib, SamplePicture source) {
    int worst = 0;
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            const uint8_t* bgr = dib.constScanLine(y) + 3 * x;
            const uint8_t* rgb = source.at(x, y);
            for (int c = 0; c < 3; ++c) {
                worst = std::max(worst, std::abs(int{bgr[2 - c]} - int{rgb[c]}));
            }
        }
    }
    return worst;
}

TEST(JpegFrameWalk, FindsTheFrameOfBaselineAndProgressiveFiles) {
    for (bool progressive : {false, true}) {
        const auto jpeg = encodeJpeg(gradientPicture(37, 21), {.progressive = progressive});
        JpegFrameSize frame;
        ASSERT_TRUE(findJpegFrame(jpeg, frame));
        EXPECT_EQ(frame.width, 37);
        EXPECT_EQ(frame.height, 21);
    }
}

TEST(JpegFrameWalk, StopsWithoutAFrame) {
    JpegFrameSize frame;
    // The frame type byte of the encoder's baseline frame, changed to extended sequential.
    auto jpeg = encodeJpeg(gradientPicture(8, 8));
    for (size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 1] = 0xC1;
            break;
        }
    }
    EXPECT_FALSE(findJpegFrame(jpeg, frame));

    // Bytes that are not a marker where one belongs.
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x00, 0x04, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(findJpegFrame(png, frame));
    // End of image, a segment length below 2, a segment running past the data.
    const std::vector<uint8_t> eoi = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0, 0, 0xFF, 0xD9, 0, 0};
    EXPECT_FALSE(findJpegFrame(eoi, frame));
    const std::vector<uint8_t> shortSegment = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02,
                                               0xFF, 0xDB, 0x00, 0x01, 0,    0};
    EXPECT_FALSE(findJpegFrame(shortSegment, frame));
    const std::vector<uint8_t> longSegment = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 0xFF, 0xDB,
                                              0x00, 0x07, 0,    0,    0,    0,    0xFF};
    EXPECT_FALSE(findJpegFrame(longSegment, frame));
    EXPECT_EQ(frame.width, 0);
    // Data ending where the walk has to read.
    const std::vector<uint8_t> cut = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0, 0, 0, 0};
    EXPECT_THROW(findJpegFrame(cut, frame), StreamReadError);
}

TEST(JpegDecoder, DecodesColourCloseToTheSourceInBlueGreenRedOrder) {
    const SamplePicture source = gradientPicture(64, 48);
    for (bool progressive : {false, true}) {
        const NkDib dib = decodeJpeg(encodeJpeg(source, {.progressive = progressive}), {});
        ASSERT_EQ(dib.bitCount(), 24);
        ASSERT_EQ(dib.width(), 64);
        ASSERT_EQ(dib.height(), 48);
        EXPECT_LE(largestError(dib, source), 12);
        // Top right is red, bottom left green: the channel order and row order hold.
        EXPECT_GT(dib.constScanLine(0)[3 * 63 + 2], 230);
        EXPECT_GT(dib.constScanLine(47)[1], 230);
    }
}

TEST(JpegDecoder, GrayscaleComesOutAsEqualChannels) {
    SamplePicture gray{16, 16, 1, std::vector<uint8_t>(256)};
    for (int i = 0; i < 256; ++i) {
        gray.samples[size_t(i)] = static_cast<uint8_t>(i);
    }
    const NkDib dib = decodeJpeg(encodeJpeg(gray), {});
    ASSERT_EQ(dib.bitCount(), 24);
    const uint8_t* p = dib.constScanLine(15) + 3 * 15;
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_NEAR(p[0], 255, 6);
    EXPECT_NEAR(dib.constScanLine(0)[0], 0, 6);
}

TEST(JpegDecoder, CmykBecomesTheRightColoursWithAndWithoutAdobeInversion) {
    // Left half pure cyan ink, right half no ink at all.
    for (bool adobe : {true, false}) {
        SCOPED_TRACE(adobe);
        SamplePicture cmyk{16, 8, 4, std::vector<uint8_t>(16 * 8 * 4)};
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 16; ++x) {
                const uint8_t ink[4] = {static_cast<uint8_t>(x < 8 ? 255 : 0), 0, 0, 0};
                for (int c = 0; c < 4; ++c) {
                    // Adobe's files store the inks inverted.
                    cmyk.at(x, y)[c] = adobe ? static_cast<uint8_t>(255 - ink[c]) : ink[c];
                }
            }
        }
        const NkDib dib = decodeJpeg(encodeJpeg(cmyk, {.adobeMarker = adobe}), {});
        const uint8_t* cyan = dib.constScanLine(4) + 3 * 2;
        const uint8_t* white = dib.constScanLine(4) + 3 * 13;
        EXPECT_GT(cyan[0], 240);  // blue
        EXPECT_GT(cyan[1], 240);  // green
        EXPECT_LT(cyan[2], 15);   // red
        EXPECT_GT(white[0], 240);
        EXPECT_GT(white[1], 240);
        EXPECT_GT(white[2], 240);
    }
}

TEST(JpegDecoder, ScalesInsideLibjpeg) {
    const auto jpeg = encodeJpeg(gradientPicture(101, 50));
    const int expected[][2] = {{101, 50}, {51, 25}, {26, 13}, {13, 7}};
    int i = 0;
    for (int denominator : {1, 2, 4, 8}) {
        for (bool fastest : {false, true}) {
            const NkDib dib = decodeJpeg(jpeg, {denominator, fastest});
            EXPECT_EQ(dib.width(), expected[i][0]) << denominator;
            EXPECT_EQ(dib.height(), expected[i][1]) << denominator;
        }
        ++i;
    }
}

TEST(JpegDecoder, CorruptOrTruncatedDataFailsQuietlyOrDecodesWhatIsThere) {
    const auto jpeg = encodeJpeg(gradientPicture(40, 30), {.quality = 80});
    ::testing::internal::CaptureStderr();
    int failures = 0;
    for (size_t length = 0; length < jpeg.size(); length += 7) {
        try {
            const NkDib dib = decodeJpeg(std::span(jpeg).first(length), {});
            // A file cut inside the scan keeps its size; libjpeg fills the rest.
            EXPECT_EQ(dib.width(), 40);
            EXPECT_EQ(dib.height(), 30);
        } catch (const GraphicLoadError&) {
            ++failures;
        }
    }
    // Scrambled entropy-coded data and a scrambled header.
    auto scrambled = jpeg;
    for (size_t i = scrambled.size() / 2; i < scrambled.size() - 2; i += 3) {
        scrambled[i] = static_cast<uint8_t>(scrambled[i] * 37 + 11);
    }
    try {
        decodeJpeg(scrambled, {});
    } catch (const GraphicLoadError&) {
    }
    EXPECT_THROW(decodeJpeg(std::vector<uint8_t>(100, 0x5A), {}), GraphicLoadError);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_GT(failures, 0);  // a cut inside the headers cannot decode
}

TEST(JpegDecoder, RefusesAFrameTooLargeForAPixelStore) {
    // The frame claims 65000 x 65000: more than a pixel store may hold at full size.
    auto jpeg = encodeJpeg(gradientPicture(8, 8));
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = 0xFD;
            jpeg[i + 6] = 0xE8;
            jpeg[i + 7] = 0xFD;
            jpeg[i + 8] = 0xE8;
            break;
        }
    }
    JpegFrameSize frame;
    ASSERT_TRUE(findJpegFrame(jpeg, frame));
    ASSERT_EQ(frame.width, 65000);
    EXPECT_THROW(decodeJpeg(jpeg, {}), GraphicLoadError);
}

}  // namespace
}  // namespace ravinel
