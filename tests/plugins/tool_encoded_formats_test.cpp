// AVIF, HEIF and JPEG XL, whose files the formats' own tools make from a PNG.
#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

#include "tests/plugins/picture_encoders.h"
#include "tests/plugins/spi_module.h"
#include "tests/plugins/tool_encoders.h"

namespace ravinel::test {
namespace {

using png_source::kHeight;
using png_source::kWidth;

struct FormatCase {
    const char* name;
    const char* path;
    Bytes (*encode)(const Bytes& png, Coding coding);
    // heif-enc's lossless mode still rounds by one step in its colour conversion (the
    // library's own heif-convert gives the same pixels back).
    int tolerance;
};

const FormatCase kFormats[] = {
    {"Avif", IFAVIF_PATH, encodeAvif, 0},
    {"Heif", IFHEIF_PATH, encodeHeic, 1},
    {"Jxl", IFJXL_PATH, encodeJxl, 0},
};

Bytes losslessFile(const FormatCase& format, bool alpha) {
    return format.encode(
        png_source::encodePng(
            {"", alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, 8, false, false}),
        Coding::lossless);
}

std::array<std::uint8_t, 3> expectedRgb(int x, int y, bool alpha) {
    using png_source::sampleAt;
    const unsigned a = alpha ? sampleAt(x, y, 3, 255) : 255;
    return {overWhite(sampleAt(x, y, 0, 255), a), overWhite(sampleAt(x, y, 1, 255), a),
            overWhite(sampleAt(x, y, 2, 255), a)};
}

// Size before decoding, then every pixel with its alpha, from memory and from files.
TEST(ToolEncodedFormats, LosslessFilesDecodeExactly) {
    for (const FormatCase& format : kFormats) {
        const SpiModule module(format.path);
        ASSERT_TRUE(module.loaded()) << format.path;
        for (const bool alpha : {false, true}) {
            SCOPED_TRACE(std::string(format.name) + (alpha ? " with alpha" : ""));
            DecodedPicture picture;
            expectSizeThenDecode(module, losslessFile(format, alpha), kWidth, kHeight,
                                 alpha ? 32 : 24, &picture);
            if (HasFatalFailure()) {
                return;
            }
            EXPECT_LE(
                differenceFrom(picture, [alpha](int x, int y) { return expectedRgb(x, y, alpha); })
                    .largest,
                format.tolerance);
        }
    }
}

// Lossy files as phones and cameras make them: colour conversion from YCbCr or XYB and
// chroma upsampling at odd sizes, compared with a smooth picture by their largest and
// mean differences.
TEST(ToolEncodedFormats, LossyFilesDecodeClosely) {
    namespace smooth = webp_source;
    for (const FormatCase& format : kFormats) {
        const SpiModule module(format.path);
        ASSERT_TRUE(module.loaded()) << format.path;
        for (const bool alpha : {false, true}) {
            SCOPED_TRACE(std::string(format.name) + (alpha ? " with alpha" : ""));
            const Bytes file = format.encode(smooth::encodePng(alpha ? 4 : 3), Coding::lossy);
            const DecodedPicture picture = decodeFromMemory(module.getPicture, file);
            ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
            ASSERT_EQ(picture.header.biWidth, smooth::kWidth);
            ASSERT_EQ(picture.header.biHeight, smooth::kHeight);
            ASSERT_EQ(picture.header.biBitCount, alpha ? 32 : 24);
            const ChannelDifference difference = differenceFrom(picture, [alpha](int x, int y) {
                const unsigned a = alpha ? smooth::sampleAt(x, y, 3) : 255;
                return std::array<std::uint8_t, 3>{overWhite(smooth::sampleAt(x, y, 2), a),
                                                   overWhite(smooth::sampleAt(x, y, 1), a),
                                                   overWhite(smooth::sampleAt(x, y, 0), a)};
            });
            EXPECT_LE(difference.largest, 24);
            EXPECT_LE(difference.mean, 3);
        }
    }
}

TEST(ToolEncodedFormats, TruncatedAndCorruptedFilesAreRefused) {
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.name);
        const SpiModule module(format.path);
        ASSERT_TRUE(module.loaded());
        const Bytes file = losslessFile(format, true);
        ASSERT_FALSE(file.empty());
        expectRejectsBrokenData(module, file, file.size());
    }
}

// Every 'ispe' box of an ISO base media file (the coded picture's and the one shown)
// rewritten to declare another size.
Bytes withDeclaredSize(Bytes file, std::uint32_t width, std::uint32_t height) {
    const std::string_view name = "ispe";
    int boxes = 0;
    for (auto at = std::search(file.begin(), file.end(), name.begin(), name.end());
         file.end() - at >= 16; at = std::search(at + 4, file.end(), name.begin(), name.end())) {
        for (int i = 0; i < 4; ++i) {
            at[8 + i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
            at[12 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
        }
        ++boxes;
    }
    EXPECT_GT(boxes, 0);
    return file;
}

// A bare JPEG XL codestream that declares the size, with default metadata and no frame.
Bytes jxlDeclaring(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0xff, 0x0a};
    int bit = 0;
    const auto put = [&](std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++bit) {
            if (bit % 8 == 0) {
                out.push_back(0);
            }
            out.back() |= static_cast<std::uint8_t>(((value >> i) & 1) << (bit % 8));
        }
    };
    put(0, 1);  // not a small size
    put(3, 2);  // 30-bit height
    put(height - 1, 30);
    put(0, 3);  // no aspect ratio: the width follows
    put(3, 2);
    put(width - 1, 30);
    put(1, 1);  // all metadata default
    out.resize(out.size() + 16, 0);
    return out;
}

// Declared sizes of zero or over the limits: the decoders refuse them before any
// decoding, and the size query reports what the file declares so that the host can say
// why.
TEST(ToolEncodedFormats, DeclaredSizesOverTheLimitsAreRefusedBeforeDecoding) {
    const Bytes avif = losslessFile(kFormats[0], false);
    const Bytes heic = losslessFile(kFormats[1], false);
    struct SizeCase {
        const char* name;
        const char* path;
        Bytes file;
        std::int32_t reportedWidth;  // 0: the size query fails too
        std::int32_t reportedHeight;
    };
    const SizeCase cases[] = {
        {"Avif 0x0", IFAVIF_PATH, withDeclaredSize(avif, 0, 0), 0, 0},
        {"Avif 20000x10000", IFAVIF_PATH, withDeclaredSize(avif, 20000, 10000), 20000, 10000},
        {"Avif 70000x1", IFAVIF_PATH, withDeclaredSize(avif, 70000, 1), 70000, 1},
        // Past what the library parses at all.
        {"Avif 40000x40000", IFAVIF_PATH, withDeclaredSize(avif, 40000, 40000), 0, 0},
        {"Heif 0x0", IFHEIF_PATH, withDeclaredSize(heic, 0, 0), 0, 0},
        {"Heif 20000x10000", IFHEIF_PATH, withDeclaredSize(heic, 20000, 10000), 20000, 10000},
        // Past the library's own limits.
        {"Heif 40000x40000", IFHEIF_PATH, withDeclaredSize(heic, 40000, 40000), 0, 0},
        {"Heif 70000x1", IFHEIF_PATH, withDeclaredSize(heic, 70000, 1), 0, 0},
        {"Jxl 40000x40000", IFJXL_PATH, jxlDeclaring(40000, 40000), 40000, 40000},
        {"Jxl 70000x1", IFJXL_PATH, jxlDeclaring(70000, 1), 70000, 1},
        {"Jxl 4096x4097", IFJXL_PATH, jxlDeclaring(4096, 4097), 4096, 4097},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SpiModule module(c.path);
        ASSERT_TRUE(module.loaded());
        const auto [code, info] = pictureInfoFromMemory(module, c.file);
        if (c.reportedWidth == 0) {
            EXPECT_NE(code, SPI_ALL_RIGHT);
        } else {
            ASSERT_EQ(code, SPI_ALL_RIGHT);
            EXPECT_EQ(info.width, c.reportedWidth);
            EXPECT_EQ(info.height, c.reportedHeight);
        }
        EXPECT_EQ(decodeFromMemory(module.getPicture, c.file).code, SPI_OUT_OF_ORDER);
    }
}

}  // namespace
}  // namespace ravinel::test
