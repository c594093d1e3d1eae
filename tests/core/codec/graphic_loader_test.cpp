#include "codec/graphic_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/bmp_builder.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using fixtures::encodeJpeg;
using fixtures::gradientPicture;
using testing::BmpBuilder;
using testing::TempDir;

// Records what the loader asks of the plug-ins; accepts everything with a 7 x 5 8-bit
// picture, or nothing.
class FakeSpiHost : public SpiHost {
  public:
    int pluginCount() const override { return plugins; }
    void setGraphicPreview(bool preview) override { previews.push_back(preview); }
    void setDecodeLimits(const DecodeLimits& limits) override {
        pixelLimits.push_back(limits.maxPixelBytes);
    }
    PictureMetadata loadFile(NkDib& target, const std::string& fileName) override {
        calls.push_back("file " + fileName);
        deliver(target);
        return {orientation, {}, std::nullopt};
    }
    PictureMetadata loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                           const std::string& name) override {
        calls.push_back("stream " + name + " " + std::to_string(data.size()));
        deliver(target);
        return {orientation, {}, std::nullopt};
    }

    int plugins = 1;
    bool accepts = true;
    DibOrientation orientation = DibOrientation::topLeft;
    std::vector<std::string> calls;
    std::vector<bool> previews;
    std::vector<uint64_t> pixelLimits;

  private:
    void deliver(NkDib& target) const {
        if (!accepts) {
            throw std::runtime_error("no plug-in accepts the picture");
        }
        NkDib picture;
        picture.setWidth(7);
        picture.setHeight(5);
        target = picture;
    }
};

std::vector<uint8_t> smallBmp(int width, int height, std::optional<uint32_t> fileSize = {}) {
    BmpBuilder parts;
    parts.width = width;
    parts.height = height;
    parts.bitCount = 1;
    parts.palette = {RgbQuad{}, RgbQuad{255, 255, 255, 0}};
    parts.pixels.assign(dibStride(1, width) * size_t(height), 0);
    parts.bfSize = fileSize;
    return parts.file();
}

class GraphicLoaderTest : public ::testing::Test {
  protected:
    GraphicLoadInfo load(const std::string& path, bool preview = false) {
        GraphicLoadInfo info;
        loader.loadFromFile(target, path, preview, info);
        return info;
    }

    TempDir dir;
    FakeSpiHost host;
    GraphicLoader loader{&host};
    NkDib target;
    const std::vector<uint8_t> jpeg = encodeJpeg(gradientPicture(40, 30));
};

TEST_F(GraphicLoaderTest, StartsWithEveryOptionOffButOrientationAndColors) {
    const GraphicLoader fresh(nullptr);
    EXPECT_FALSE(fresh.doAnalyze || fresh.useSpiPrev || fresh.inBmpFirst || fresh.inJpgFirst);
    EXPECT_TRUE(fresh.useOrientation);
    EXPECT_TRUE(fresh.useColorProfile);
    EXPECT_EQ(fresh.previewSize, 0);
    const GraphicLoadInfo empty;
    EXPECT_EQ(empty.pixelFormat, 8);
    EXPECT_FALSE(empty.succeeded());
    EXPECT_STREQ(kPixelFormatLabels[framePixelFormatOf(target)], "8");
}

TEST_F(GraphicLoaderTest, JpegByContentOwnDecoderFirst) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    const GraphicLoadInfo info = load(dir.write("photo.dat", jpeg));
    EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(info.height, 30);
    EXPECT_EQ(info.pixelFormat, kPixelFormat24Bit);
    EXPECT_TRUE(info.succeeded());
    EXPECT_EQ(target.width(), 40);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(GraphicLoaderTest, JpegByContentPluginsFirstWithTheFullPath) {
    loader.doAnalyze = true;
    const std::string path = dir.write("photo.dat", jpeg);
    GraphicLoadInfo info = load(path);
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, 7);
    EXPECT_EQ(info.height, 5);
    EXPECT_EQ(info.pixelFormat, kPixelFormat8Bit);
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"stream " + path + " " + std::to_string(jpeg.size())}));

    host.accepts = false;  // the plug-ins refuse: the own decoding follows
    info = load(path);
    EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(info.width, 40);
    EXPECT_EQ(host.calls.size(), 2u);
}

// A full picture reports its upright size; a preview's size stays unknown.
TEST_F(GraphicLoaderTest, PluginPicturesTurnAsTheirPluginSays) {
    host.orientation = DibOrientation::rightTop;
    GraphicLoadInfo info = load(dir.write("photo.png", jpeg));
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.height, 7);
    EXPECT_EQ(target.width(), 5);

    loader.useSpiPrev = true;
    info = load(dir.write("photo.png", jpeg), true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusiePreview);
    EXPECT_EQ(info.width, 1);
    EXPECT_EQ(target.width(), 5);
}

TEST_F(GraphicLoaderTest, PluginPreviewReportsWidthOne) {
    loader.doAnalyze = true;
    loader.useSpiPrev = true;
    const std::string path = dir.write("photo.dat", jpeg);
    GraphicLoadInfo info = load(path, true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusiePreview);
    EXPECT_EQ(info.width, 1);
    EXPECT_EQ(info.height, 0);
    EXPECT_TRUE(info.succeeded());
    info = load(path, false);
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    loader.useSpiPrev = false;
    info = load(path, true);
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(host.previews, (std::vector<bool>{true, false, false}));
    // A thumbnail is held to its own limits, with or without the plug-ins' preview.
    EXPECT_EQ(host.pixelLimits, (std::vector<uint64_t>{kThumbnailDecodeBytes, kDisplayDecodeBytes,
                                                       kThumbnailDecodeBytes}));
}

TEST_F(GraphicLoaderTest, WithoutPluginsEveryPluginStepLoadsNothing) {
    const std::string png = dir.write("a.png", std::vector<uint8_t>(100, 1));
    host.plugins = 0;
    loader.doAnalyze = true;
    EXPECT_EQ(load(png).kind, GraphicKind::gkNone);
    EXPECT_TRUE(host.calls.empty());

    GraphicLoader bare(nullptr);
    GraphicLoadInfo info;
    bare.loadFromFile(target, dir.write("b.jpeg", jpeg), false, info);
    EXPECT_EQ(info.kind, GraphicKind::gkNone);
    EXPECT_EQ(info.pixelFormat, kPixelFormat8Bit);  // from the untouched target
}

TEST_F(GraphicLoaderTest, ExtensionPathDecidesByDotJpgAndDotBmpOnly) {
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    host.accepts = false;
    // The four-letter extension goes to the plug-ins alone, even when they refuse.
    EXPECT_EQ(load(dir.write("a.jpeg", jpeg)).kind, GraphicKind::gkNone);
    EXPECT_EQ(host.calls.size(), 1u);
    EXPECT_EQ(load(dir.write("b.JPG", jpeg)).kind, GraphicKind::gkJpeg);
    EXPECT_EQ(load(dir.write("c.jpg", jpeg)).kind, GraphicKind::gkJpeg);
    EXPECT_EQ(load(dir.write("d.Bmp", smallBmp(3, 2))).kind, GraphicKind::gkBmp);
    EXPECT_EQ(host.calls.size(), 1u);
    // A dot in a folder name is no extension.
    std::filesystem::create_directory(dir.path("e.jpg"));
    EXPECT_EQ(load(dir.write("e.jpg/photo", jpeg)).kind, GraphicKind::gkNone);
    EXPECT_EQ(host.calls.size(), 2u);

    host.accepts = true;  // plug-ins first when the own decoders come second
    loader.inJpgFirst = false;
    const GraphicLoadInfo info = load(dir.write("f.jpg", jpeg));
    EXPECT_EQ(info.kind, GraphicKind::gkSusie);
    EXPECT_EQ(host.calls.back(), "file " + dir.path("f.jpg"));
}

TEST_F(GraphicLoaderTest, ExtendedSequentialFrameEndsTheLoadWithWidthZero) {
    auto c1 = jpeg;
    for (size_t i = 2; i + 1 < c1.size(); ++i) {
        if (c1[i] == 0xFF && c1[i + 1] == 0xC0) {
            c1[i + 1] = 0xC1;
            break;
        }
    }
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    const GraphicLoadInfo info = load(dir.write("c1.jpg", c1));
    EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(info.width, 0);
    EXPECT_FALSE(info.succeeded());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(GraphicLoaderTest, PngNamedDotJpgStopsInTheJpegStep) {
    // Long enough for the walk to reach the byte after the PNG's first "segment".
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png.resize(4000, 0);
    loader.inJpgFirst = true;
    const GraphicLoadInfo info = load(dir.write("fake.JPG", png));
    EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
    EXPECT_EQ(info.width, 0);
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(GraphicLoaderTest, TinyAndMissingFilesLoadNothing) {
    loader.doAnalyze = true;
    loader.inBmpFirst = true;
    loader.inJpgFirst = true;
    host.accepts = false;
    const std::vector<uint8_t> nine(jpeg.begin(), jpeg.begin() + 9);
    const std::string ninePath = dir.write("nine.bmp", nine);
    EXPECT_EQ(load(ninePath).kind, GraphicKind::gkNone);
    // Not analysed; by extension the BMP reading fails and the plug-ins are asked.
    EXPECT_EQ(host.calls, (std::vector<std::string>{"file " + ninePath}));
    host.calls.clear();
    // By content the walk ends inside the tables: a JPEG with width 0.
    const std::vector<uint8_t> thirty(jpeg.begin(), jpeg.begin() + 31);
    const std::string shortPath = dir.write("short.jpg", thirty);
    EXPECT_EQ(load(shortPath).kind, GraphicKind::gkJpeg);
    EXPECT_EQ(load(shortPath).width, 0);
    EXPECT_TRUE(host.calls.empty());
    // By extension it is too short for the JPEG step: only the plug-ins are asked.
    loader.doAnalyze = false;
    EXPECT_EQ(load(shortPath).kind, GraphicKind::gkNone);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"file " + shortPath}));
    loader.doAnalyze = true;
    EXPECT_EQ(load(dir.path("missing.jpg")).kind, GraphicKind::gkNone);
}

TEST_F(GraphicLoaderTest, BmpWithAWrongSizeFieldIsNotRecognisedByContent) {
    loader.doAnalyze = true;
    loader.inBmpFirst = true;
    host.accepts = false;
    const auto bmp = smallBmp(3, 2, 999);
    const std::string path = dir.write("wrong.bmp", bmp);
    const GraphicLoadInfo info = load(path);
    // The plug-ins alone by content, then the extension path reads it.
    EXPECT_EQ(host.calls,
              (std::vector<std::string>{"stream " + path + " " + std::to_string(bmp.size())}));
    EXPECT_EQ(info.kind, GraphicKind::gkBmp);
    EXPECT_EQ(info.width, 3);
    EXPECT_EQ(info.pixelFormat, kPixelFormat1Bit);
}

TEST_F(GraphicLoaderTest, PicturesOverTheLargestSideAreRefusedByTheirHeaders) {
    loader.doAnalyze = true;
    loader.inBmpFirst = true;
    loader.inJpgFirst = true;
    host.accepts = false;
    struct Case {
        const char* name;
        int32_t maxSide;
        std::vector<uint8_t> file;
        GraphicKind kind;
        uint16_t width;
        uint16_t height;
    };
    const Case cases[] = {
        {"big.bmp", kMaxPictureSide, smallBmp(5000, 3000), GraphicKind::gkNone, 5000, 3000},
        {"edge.bmp", kMaxPictureSide, smallBmp(4096, 1), GraphicKind::gkBmp, 4096, 1},
        {"tall.bmp", kMaxPictureSide, smallBmp(1, 4097), GraphicKind::gkNone, 1, 4097},
        // Sides beyond 16 bits must not wrap round into the range that counts as loaded.
        {"wide.bmp", kMaxPictureSide, smallBmp(65536 + 100, 1), GraphicKind::gkNone, 65535, 1},
        {"wide.jpg", kMaxPictureSide, encodeJpeg(gradientPicture(4097, 8)), GraphicKind::gkNone,
         4097, 8},
        {"edge.jpg", kMaxPictureSide, encodeJpeg(gradientPicture(4096, 8)), GraphicKind::gkJpeg,
         4096, 8},
        // A raised limit: the same headers decide against it.
        {"big.bmp", 8192, smallBmp(5000, 3000), GraphicKind::gkBmp, 5000, 3000},
        {"edge.bmp", 8192, smallBmp(8192, 1), GraphicKind::gkBmp, 8192, 1},
        {"tall.bmp", 8192, smallBmp(1, 8193), GraphicKind::gkNone, 1, 8193},
        {"wide.jpg", 8192, encodeJpeg(gradientPicture(5120, 8)), GraphicKind::gkJpeg, 5120, 8},
        {"wide.jpg", 8192, encodeJpeg(gradientPicture(8193, 8)), GraphicKind::gkNone, 8193, 8},
        {"edge.bmp", kMaxSideLimit, smallBmp(kMaxSideLimit, 1), GraphicKind::gkBmp, 32767, 1},
        {"wide.bmp", kMaxSideLimit, smallBmp(65536 + 100, 1), GraphicKind::gkNone, 65535, 1},
        // A lowered one.
        {"edge.bmp", kMinSideLimit, smallBmp(1024, 1), GraphicKind::gkBmp, 1024, 1},
        {"wide.jpg", kMinSideLimit, encodeJpeg(gradientPicture(1025, 8)), GraphicKind::gkNone, 1025,
         8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.maxSide));
        loader.maxSide = c.maxSide;
        target = NkDib();
        const GraphicLoadInfo info = load(dir.write(c.name, c.file));
        EXPECT_EQ(info.kind, c.kind);
        EXPECT_EQ(info.failure == LoadFailure::sideOverLimit, c.kind == GraphicKind::gkNone);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        // A refused picture was never decoded: the target is the blank one it was.
        EXPECT_EQ(target.width() == c.width && target.height() == c.height,
                  c.kind != GraphicKind::gkNone);
    }
}

TEST_F(GraphicLoaderTest, PreviewSizeChoosesTheJpegScale) {
    const std::string path =
        dir.write("big.jpg", encodeJpeg(gradientPicture(1600, 1200), {.quality = 50}));
    loader.inJpgFirst = true;
    const int cases[][3] = {
        {100, 200, 150}, {300, 400, 300}, {600, 800, 600}, {700, 1600, 1200}, {-1, 200, 150}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        loader.previewSize = c[0];
        const GraphicLoadInfo info = load(path, true);
        EXPECT_EQ(info.kind, GraphicKind::gkJpeg);
        EXPECT_EQ(info.width, 1600);
        EXPECT_EQ(info.height, 1200);
        EXPECT_EQ(target.width(), c[1]);
        EXPECT_EQ(target.height(), c[2]);
    }
    loader.previewSize = 100;  // not a preview: full size
    load(path, false);
    EXPECT_EQ(target.width(), 1600);
}

TEST_F(GraphicLoaderTest, CorruptJpegLeavesTheTargetAndReportsNothing) {
    auto broken = jpeg;
    broken.resize(200);  // inside the tables, before the frame is complete
    for (size_t i = 100; i < broken.size(); ++i) {
        broken[i] = 0xFF;
    }
    NkDib before;
    before.setWidth(3);
    target = before;
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    host.plugins = 0;
    ::testing::internal::CaptureStderr();
    const GraphicLoadInfo info = load(dir.write("broken.jpg", broken));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_FALSE(info.succeeded());
    EXPECT_TRUE(target.sharesStoreWith(before));
}

TEST_F(GraphicLoaderTest, OnlyFilesUpTo64MiBAndABmpHeaderAreAnalysed) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    const std::string fits = dir.write("fits.dat", jpeg);
    std::filesystem::resize_file(fits, 67'108'918);  // sparse: zeros after the JPEG
    EXPECT_EQ(load(fits).kind, GraphicKind::gkJpeg);
    const std::string over = dir.write("over.dat", jpeg);
    std::filesystem::resize_file(over, 67'108'919);
    host.accepts = false;
    EXPECT_EQ(load(over).kind, GraphicKind::gkNone);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"file " + over}));
}

// A failed load keeps the reason of its most telling step; a later success clears it.
TEST_F(GraphicLoaderTest, AFailedLoadSaysWhy) {
    BmpBuilder huge;
    huge.width = 18000;
    huge.height = 18000;
    huge.bitCount = 8;
    huge.compression = 1;  // run-length coded: a few bytes declare the whole picture
    huge.palette.assign(256, RgbQuad{});
    huge.pixels = {0, 1};  // end of the picture
    std::vector<uint8_t> cutJpeg(jpeg.begin(), jpeg.begin() + 200);
    std::vector<uint8_t> brokenBmp = smallBmp(8, 8);
    brokenBmp[28] = 7;  // a bit count no reader knows
    struct Case {
        std::string name;
        std::vector<uint8_t> bytes;  // none: the file is missing
        bool pluginsAccept;
        LoadFailure failure;
        std::string detailStart;
    };
    const std::vector<Case> cases = {
        {"missing.jpg", {}, false, LoadFailure::unreadableFile, "No such file"},
        {"tiny.dat", {1, 2, 3}, false, LoadFailure::fileSize, "3 bytes"},
        {"cut.dat", cutJpeg, false, LoadFailure::decoderError, "JPEG: "},
        {"huge.dat", huge.file(), false, LoadFailure::sideOverLimit, "Picture is too large (18000"},
        {"notes.dat", std::vector<uint8_t>(64, 'a'), false, LoadFailure::noPluginTookIt,
         "no plug-in accepts"},
        {"broken.dat", brokenBmp, true, LoadFailure::none, ""},
    };
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    for (const Case& c : cases) {
        host.accepts = c.pluginsAccept;
        const std::string path = c.bytes.empty() ? dir.path(c.name) : dir.write(c.name, c.bytes);
        const GraphicLoadInfo info = load(path);
        EXPECT_EQ(info.failure, c.failure) << c.name << ": " << loadFailureText(info);
        EXPECT_TRUE(info.failureDetail.starts_with(c.detailStart))
            << c.name << ": " << info.failureDetail;
        EXPECT_EQ(info.succeeded(), c.failure == LoadFailure::none) << c.name;
    }
}

// After a failure the content names the format nothing read; when the extension chose
// the decoders, a format other than the extension's is the reason.
TEST_F(GraphicLoaderTest, TheContentTellsWhyNothingReadIt) {
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    png.resize(4000, 0);
    std::vector<uint8_t> avif = {0, 0, 0, 0x1C, 'f', 't', 'y', 'p', 'a', 'v', 'i', 'f'};
    avif.resize(400, 0);
    BmpBuilder huge;
    huge.width = 18000;
    huge.height = 18000;
    huge.bitCount = 8;
    huge.compression = 1;
    huge.palette.assign(256, RgbQuad{});
    huge.pixels = {0, 1};
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        bool analyze;
        LoadFailure failure;
        const char* contentFormat;
    };
    const Case cases[] = {
        {"png.jpg", png, false, LoadFailure::contentMismatch, "PNG"},
        {"png.jpg", png, true, LoadFailure::noPluginTookIt, "PNG"},
        {"jpeg.png", jpeg, false, LoadFailure::contentMismatch, "JPEG"},
        {"a.avif", avif, false, LoadFailure::noPluginTookIt, "AVIF"},
        {"a.heic", avif, false, LoadFailure::contentMismatch, "AVIF"},
        {"notes.txt", std::vector<uint8_t>(64, 'a'), false, LoadFailure::noPluginTookIt, ""},
        // The sides pass a raised limit; the pixels pass the memory of a decode.
        {"huge.bmp", huge.file(), true, LoadFailure::memoryOverLimit, "BMP"},
    };
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    loader.maxSide = kMaxSideLimit;
    host.accepts = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + (c.analyze ? " by content" : " by name"));
        loader.doAnalyze = c.analyze;
        const GraphicLoadInfo info = load(dir.write(c.name, c.bytes));
        EXPECT_EQ(info.failure, c.failure) << loadFailureText(info);
        EXPECT_EQ(info.contentFormat, c.contentFormat);
    }
}

}  // namespace
}  // namespace ravinel
