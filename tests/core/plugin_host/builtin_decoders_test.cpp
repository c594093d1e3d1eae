#include "codec/builtin_decoders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "codec/spi_host.h"
#include "plugin_host/picture_registry.h"
#include "tests/bmp_builder.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using testing::BmpBuilder;
using testing::TempDir;

constexpr int kWidth = 6;
constexpr int kHeight = 4;

NkDib blankPicture() {
    NkDib picture;
    picture.setWidth(kWidth);
    picture.setHeight(kHeight);
    return picture;
}

// Plug-ins that take every picture, so that the kind tells which step came first.
class AcceptingPlugins : public SpiHost {
  public:
    int pluginCount() const override { return 1; }
    void setGraphicPreview(bool) override {}
    void setDecodeLimits(const DecodeLimits&) override {}
    PictureMetadata loadFile(NkDib& target, const std::string&) override {
        target = blankPicture();
        return {};
    }
    PictureMetadata loadFromStreamWithName(NkDib& target, std::span<const uint8_t>,
                                           const std::string&) override {
        target = blankPicture();
        return {};
    }
};

// A 6 x 4 picture of each kind the built-in decoders read, and the option that puts its
// decoders first; a decoder added for a new kind needs a line here.
struct KindCase {
    GraphicKind kind;
    std::vector<uint8_t> sample;
    bool GraphicLoader::*ownFirst;
};

std::vector<KindCase> kindCases() {
    BmpBuilder bmp;
    bmp.width = kWidth;
    bmp.height = kHeight;
    bmp.bitCount = 24;
    bmp.pixels.assign(dibStride(24, kWidth) * kHeight, 0x80);
    return {
        {GraphicKind::gkJpeg, fixtures::encodeJpeg(fixtures::gradientPicture(kWidth, kHeight)),
         &GraphicLoader::inJpgFirst},
        {GraphicKind::gkBmp, bmp.file(), &GraphicLoader::inBmpFirst},
    };
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return text;
}

// Each entry must be the one its own signature, extensions and trusted extension lead
// to (no other entry shadowing it), each way in must decode its picture, and its option
// alone must put it before the plug-ins.
TEST(BuiltinDecoders, EveryEntryIsReachedByContentByExtensionAndByTheRegistry) {
    TempDir dir;
    const PictureRegistry registry;
    const std::vector<KindCase> cases = kindCases();
    AcceptingPlugins plugins;
    GraphicLoader loader(&plugins);
    auto kindLoaded = [&](const std::string& path, bool ownFirst, bool* option) {
        loader.inJpgFirst = false;
        loader.inBmpFirst = false;
        *option = ownFirst;
        NkDib target;
        GraphicLoadInfo info;
        loader.loadFromFile(target, path, false, info);
        EXPECT_EQ(info.height, kHeight) << path;
        return info.kind;
    };
    for (const BuiltinDecoder& decoder : builtinDecoders()) {
        SCOPED_TRACE(decoder.description);
        const auto kindCase = std::find_if(
            cases.begin(), cases.end(), [&](const KindCase& c) { return c.kind == decoder.kind; });
        ASSERT_NE(kindCase, cases.end()) << "no sample picture of this kind";
        const std::vector<uint8_t>& sample = kindCase->sample;
        bool* option = &(loader.*kindCase->ownFirst);
        for (const std::string& extension : decoder.extensions) {
            const std::string path = dir.write("picture." + extension, sample);
            EXPECT_EQ(builtinDecoderForContent(sample, path), &decoder) << extension;
            ASSERT_TRUE(registry.decoderForFile(path)) << extension;
            EXPECT_EQ(registry.decoderForFile(path)->decoder.builtin, &decoder) << extension;
            EXPECT_EQ(decoder.openFile(path, {}).picture->width(), kWidth) << extension;
            loader.doAnalyze = true;
            EXPECT_EQ(kindLoaded(path, true, option), decoder.kind) << extension;
            EXPECT_EQ(kindLoaded(path, false, option), GraphicKind::gkSusie) << extension;
        }
        if (!decoder.trustedExtension.empty()) {
            const std::string path =
                dir.write("PICTURE." + upperCased(decoder.trustedExtension), sample);
            EXPECT_EQ(builtinDecoderTrustedBy(path), &decoder);
            loader.doAnalyze = false;
            EXPECT_EQ(kindLoaded(path, true, option), decoder.kind);
            EXPECT_EQ(kindLoaded(path, false, option), GraphicKind::gkSusie);
        }
    }
}

}  // namespace
}  // namespace ravinel
