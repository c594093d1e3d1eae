// Camera RAW through DNG files the test writes: the developed picture, the embedded
// preview, the orientation, and broken or oversized files.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/plugins/dng_writer.h"
#include "tests/plugins/spi_module.h"

namespace ravinel::test {
namespace {

using Preview = DngPicture::Preview;

int spread(const std::array<std::uint8_t, 3>& rgb) {
    return *std::max_element(rgb.begin(), rgb.end()) - *std::min_element(rgb.begin(), rgb.end());
}

// The mosaic is grey under the camera's white balance, darker in its left half: developed,
// both halves are grey, in place, and of the sides announced before.
TEST(CameraRaw, MosaicDevelopsGreyUnderTheCamerasWhiteBalance) {
    const SpiModule module(IFRAW_PATH);
    ASSERT_TRUE(module.loaded());
    const DngPicture dng;
    const Bytes file = encodeDng(dng);
    ASSERT_FALSE(file.empty());

    const auto [code, info] = pictureInfoFromMemory(module, file);
    ASSERT_EQ(code, SPI_ALL_RIGHT);
    EXPECT_EQ(info.width, dng.width);
    EXPECT_EQ(info.height, dng.height);
    EXPECT_EQ(info.colorDepth, 24);

    const DecodedPicture picture = decodeEverywhere(module, file);
    ASSERT_EQ(picture.code, SPI_ALL_RIGHT);
    ASSERT_EQ(picture.header.biWidth, dng.width);
    ASSERT_EQ(picture.header.biHeight, dng.height);
    // Away from the edges, where the colours of the mosaic are interpolated from fewer
    // sites.
    for (int y = 2; y < dng.height - 2; ++y) {
        for (int x = 2; x < dng.width - 2; ++x) {
            if (x >= dng.width / 2 - 2 && x < dng.width / 2 + 2) {
                continue;
            }
            const auto rgb = picture.rgb(x, y);
            ASSERT_LE(spread(rgb), 3) << x << "," << y;
            if (x < dng.width / 2) {
                ASSERT_LT(rgb[1] + 40, picture.rgb(dng.width - 1 - x, y)[1]) << x << "," << y;
            }
        }
    }
}

// The preview entry gives the picture the camera embedded, as stored; a file without
// one sends the host to the picture entry.
TEST(CameraRaw, PreviewIsTheEmbeddedPicture) {
    const SpiModule module(IFRAW_PATH);
    ASSERT_TRUE(module.loaded());
    ASSERT_NE(module.getPreview, nullptr);
    struct PreviewCase {
        const char* name;
        Preview preview;
        int tolerance;
    };
    for (const PreviewCase& c :
         {PreviewCase{"Jpeg", Preview::jpeg, 4}, PreviewCase{"Bitmap", Preview::bitmap, 0}}) {
        SCOPED_TRACE(c.name);
        DngPicture dng;
        dng.preview = c.preview;
        dng.orientation = 6;
        const DecodedPicture preview = decodeFromMemory(module.getPreview, encodeDng(dng));
        ASSERT_EQ(preview.code, SPI_ALL_RIGHT);
        ASSERT_EQ(preview.header.biWidth, dng.previewWidth);
        ASSERT_EQ(preview.header.biHeight, dng.previewHeight);
        EXPECT_LE(differenceFrom(preview, [&](int, int) { return dng.previewColour; }).largest,
                  c.tolerance);
    }
    DngPicture bare;
    bare.preview = Preview::none;
    EXPECT_EQ(decodeFromMemory(module.getPreview, encodeDng(bare)).code, SPI_NO_FUNCTION);
}

// A TIFF file is camera RAW when it says so (DNG), else when it is named so (NEF and the
// like): the RAW plug-in takes it and the TIFF plug-in leaves it.
TEST(CameraRaw, TiffFilesGoToTheRawPluginBySignatureOrName) {
    const SpiModule raw(IFRAW_PATH);
    const SpiModule tiff(IFTIFF_PATH);
    ASSERT_TRUE(raw.loaded() && tiff.loaded());
    std::array<std::uint8_t, SPI_HEADER_BYTES> plain{'I', 'I', 42, 0, 8};
    std::array<std::uint8_t, SPI_HEADER_BYTES> dng{};
    const Bytes file = encodeDng({});
    std::copy_n(file.begin(), std::min(file.size(), dng.size()), dng.begin());
    struct NameCase {
        const char* name;
        const std::uint8_t* header;
        bool raw;
    };
    for (const NameCase& c :
         {NameCase{"scan.tif", plain.data(), false}, NameCase{"photo.NEF", plain.data(), true},
          NameCase{"photo.arw", plain.data(), true}, NameCase{"photo.tif", dng.data(), true},
          NameCase{nullptr, dng.data(), true}}) {
        SCOPED_TRACE(c.name == nullptr ? "no name" : c.name);
        EXPECT_EQ(raw.isSupported(c.name, c.header) != 0, c.raw);
        EXPECT_EQ(tiff.isSupported(c.name, c.header) != 0, !c.raw);
    }
}

TEST(CameraRaw, TruncatedAndCorruptedFilesAreRefused) {
    const SpiModule module(IFRAW_PATH);
    ASSERT_TRUE(module.loaded());
    const Bytes file = encodeDng({});
    ASSERT_FALSE(file.empty());
    expectRejectsBrokenData(module, file, file.size());
}

// The mosaic's directory (the last one written) rewritten to declare other sides.
Bytes withDeclaredSides(Bytes file, std::uint32_t width, std::uint32_t height) {
    const auto number = [&](std::size_t at, int size) {
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = value << 8 | file.at(at + static_cast<std::size_t>(i));
        }
        return value;
    };
    std::size_t directory = number(4, 4);
    for (std::uint32_t next = directory; next != 0;
         next = number(directory + 2 + 12 * number(directory, 2), 4)) {
        directory = next;
    }
    int rewritten = 0;
    for (std::uint32_t i = 0; i < number(directory, 2); ++i) {
        const std::size_t entry = directory + 2 + 12 * i;
        const std::uint32_t tag = number(entry, 2);
        if (tag == 256 || tag == 257) {
            const std::uint32_t value = tag == 256 ? width : height;
            const int size = number(entry + 2, 2) == 3 ? 2 : 4;
            for (int b = 0; b < size; ++b) {
                file.at(entry + 8 + static_cast<std::size_t>(b)) =
                    static_cast<std::uint8_t>(value >> (8 * b));
            }
            ++rewritten;
        }
    }
    EXPECT_EQ(rewritten, 2);
    return file;
}

// Sides over the host's limits are reported as declared, so that the host can say why,
// and refused before the library unpacks anything: a side as broken data, a buffer over
// the bytes as no memory.
TEST(CameraRaw, DeclaredSidesOverTheLimitsAreRefused) {
    const SpiModule module(IFRAW_PATH);
    ASSERT_TRUE(module.loaded());
    DngPicture dng;
    dng.preview = Preview::none;
    const Bytes file = encodeDng(dng);
    struct SidesCase {
        std::uint32_t width;
        std::uint32_t height;
        std::int32_t maxSide;
        std::int32_t code;
    };
    for (const SidesCase& c : {SidesCase{60000, 40000, 4096, SPI_OUT_OF_ORDER},
                               SidesCase{4098, 64, 4096, SPI_OUT_OF_ORDER},
                               SidesCase{60000, 40000, 65535, SPI_NO_MEMORY}}) {
        SCOPED_TRACE(std::to_string(c.width) + " " + std::to_string(c.maxSide));
        const Bytes huge = withDeclaredSides(file, c.width, c.height);
        module.setDecodeLimits(c.maxSide, std::int64_t{256} << 20);
        const auto [code, info] = pictureInfoFromMemory(module, huge);
        ASSERT_EQ(code, SPI_ALL_RIGHT);
        EXPECT_EQ(info.width, static_cast<std::int32_t>(c.width));
        EXPECT_EQ(info.height, static_cast<std::int32_t>(c.height));
        EXPECT_EQ(decodeFromMemory(module.getPicture, huge).code, c.code);
    }
    module.setDecodeLimits(4096, std::int64_t{256} << 20);
}

}  // namespace
}  // namespace ravinel::test
