#include "codec/jpeg/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs the FILE and size_t declarations first.
#include <jpeglib.h>

#include "codec/decode_limits.h"
#include "codec/graphic_load_error.h"
#include "codec/jpeg/jpeg_frame_walk.h"
#include "platform/byte_reader.h"
#include "tests/every_path.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using fixtures::encodeJpeg;
using fixtures::gradientPicture;
using fixtures::photoLikePicture;
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

// libjpeg's own output for a colour or grayscale file, read one row per call: rows top
// first, blue, green, red.
std::vector<uint8_t> libjpegRows(const std::vector<uint8_t>& jpeg, const JpegDecodeOptions& o) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(o.scaleDenominator);
    cinfo.dct_method = o.fastestDct ? JDCT_IFAST : JDCT_ISLOW;
    jpeg_start_decompress(&cinfo);
    const size_t rowBytes = 3 * size_t{cinfo.output_width};
    std::vector<uint8_t> rows(rowBytes * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rows.data() + rowBytes * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return rows;
}

// The rows of a 24-bit picture, top first.
std::vector<uint8_t> rowsOf(const NkDib& dib) {
    std::vector<uint8_t> rows;
    for (int y = 0; y < dib.height(); ++y) {
        rows.insert(rows.end(), dib.constScanLine(y), dib.constScanLine(y) + 3 * dib.width());
    }
    return rows;
}

TEST(JpegDecoder, GivesLibjpegsOwnRowsAtEveryScale) {
    SamplePicture gray{37, 53, 1, std::vector<uint8_t>(37 * 53)};
    for (size_t i = 0; i < gray.samples.size(); ++i) {
        gray.samples[i] = static_cast<uint8_t>(i * 7);
    }
    const std::vector<std::vector<uint8_t>> files{
        encodeJpeg(gradientPicture(101, 50)),
        encodeJpeg(gradientPicture(77, 133), {.progressive = true}), encodeJpeg(gray)};
    for (const std::vector<uint8_t>& jpeg : files) {
        for (int denominator : {1, 2, 4, 8}) {
            for (bool fastest : {false, true}) {
                const JpegDecodeOptions options{denominator, fastest};
                const NkDib dib = decodeJpeg(jpeg, options);
                EXPECT_TRUE(rowsOf(dib) == libjpegRows(jpeg, options))
                    << dib.width() << "x" << dib.height() << " 1/" << denominator;
            }
        }
    }
}

// Tall pictures are decoded in bands of rows on several threads; every band's rows must
// be those of one pass, whatever the sampling, restart markers, or a file cut short.
TEST(JpegDecoder, BandsOfRowsOnThreadsGiveTheRowsOfOnePass) {
    SamplePicture gray{333, 800, 1, std::vector<uint8_t>(333 * 800)};
    for (size_t i = 0; i < gray.samples.size(); ++i) {
        gray.samples[i] = static_cast<uint8_t>(i * 7 + i / 333);
    }
    SamplePicture cmyk{120, 900, 4, std::vector<uint8_t>(120 * 900 * 4)};
    for (size_t i = 0; i < cmyk.samples.size(); ++i) {
        cmyk.samples[i] = static_cast<uint8_t>(i * 13 + i / 480);
    }
    const auto photo = [](int width, int height) { return photoLikePicture(width, height); };
    const std::vector<uint8_t> cut = encodeJpeg(photo(640, 1000));
    struct Case {
        const char* name;
        std::vector<uint8_t> jpeg;
        bool libjpegReads;  // libjpegRows reads it (colour or gray, whole)
    };
    const std::vector<Case> cases = {
        {"4:2:0, odd sides", encodeJpeg(photo(701, 1101)), true},
        {"4:4:4", encodeJpeg(photo(517, 1037), {.fullChroma = true}), true},
        {"4:2:2", encodeJpeg(photo(640, 900), {.wideChroma = true}), true},
        {"restart markers", encodeJpeg(photo(300, 1200), {.restartRows = 3}), true},
        {"grayscale", encodeJpeg(gray), true},
        {"CMYK", encodeJpeg(cmyk), false},
        {"cut in the middle", std::vector<uint8_t>(cut.begin(), cut.begin() + cut.size() / 2),
         false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> oneThread = testing::expectSameResultOnEveryPath(
            [&] { return rowsOf(decodeJpeg(c.jpeg, {})); }, c.name);
        if (c.libjpegReads) {
            EXPECT_TRUE(oneThread == libjpegRows(c.jpeg, {})) << c.name;
        }
    }
}

TEST(JpegDecoder, CmykRowsLandInTheirPlacesBeyondTheFirstBlockOfRows) {
    // Rows 0 to 19 pure cyan ink, 20 to 39 no ink.
    SamplePicture cmyk{16, 40, 4, std::vector<uint8_t>(16 * 40 * 4)};
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 16; ++x) {
            cmyk.at(x, y)[0] = static_cast<uint8_t>(y < 20 ? 0 : 255);  // Adobe's inverted ink
            cmyk.at(x, y)[1] = cmyk.at(x, y)[2] = cmyk.at(x, y)[3] = 255;
        }
    }
    const NkDib dib = decodeJpeg(encodeJpeg(cmyk, {.adobeMarker = true}), {});
    for (int y : {0, 17, 35, 39}) {
        const uint8_t* p = dib.constScanLine(y) + 3 * 9;
        EXPECT_GT(p[0], 240) << y;
        EXPECT_GT(p[1], 240) << y;
        EXPECT_EQ(p[2] < 15, y < 20) << y;
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

// A thumbnail's limit holds the pixel store; a progressive file's coefficients, which
// libjpeg keeps at full size whatever the scale, count against the shared budget only.
TEST(JpegDecoder, ProgressiveCoefficientsCountAgainstTheBudgetNotThePixelLimit) {
    // 512 x 512 at 4:4:4: 1.5 MiB of coefficients; 768 KiB of pixels at full size,
    // 12 KiB at one eighth.
    const SamplePicture source = gradientPicture(512, 512);
    const auto progressive = encodeJpeg(source, {.progressive = true, .fullChroma = true});
    const auto baseline = encodeJpeg(source, {.fullChroma = true});
    const JpegDecodeOptions eighth{8, false};
    MemoryBudget roomy(uint64_t{2} << 20);
    MemoryBudget tight(uint64_t{1} << 20);
    const uint64_t thumbnailLimit = 64 << 10;

    EXPECT_EQ(decodeJpeg(progressive, eighth, {kMaxPictureSide, thumbnailLimit, &roomy}).width(),
              64);
    EXPECT_THROW(decodeJpeg(progressive, {}, {kMaxPictureSide, thumbnailLimit, &roomy}),
                 PictureTooLargeError);
    EXPECT_THROW(decodeJpeg(progressive, eighth, {kMaxPictureSide, thumbnailLimit, &tight}),
                 PictureTooLargeError);
    EXPECT_EQ(decodeJpeg(baseline, eighth, {kMaxPictureSide, thumbnailLimit, &tight}).width(), 64);
    EXPECT_EQ(roomy.available(), roomy.capacity());
    EXPECT_EQ(tight.available(), tight.capacity());
}

}  // namespace
}  // namespace ravinel
