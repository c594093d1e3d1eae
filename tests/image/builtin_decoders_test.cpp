#include "image/builtin_decoders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/graphic_loader.h"
#include "image/picture_registry.h"
#include "tests/image/bmp_builder.h"
#include "tests/image/temp_dir.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using testing::BmpBuilder;
using testing::TempDir;

constexpr int kWidth = 6;
constexpr int kHeight = 4;

// A 6 x 4 picture of a kind the built-in decoders read; a decoder added for a new kind
// needs one here.
std::vector<uint8_t> samplePicture(GraphicKind kind) {
    if (kind == GraphicKind::gkJpeg) {
        return fixtures::encodeJpeg(fixtures::gradientPicture(kWidth, kHeight));
    }
    if (kind == GraphicKind::gkBmp) {
        BmpBuilder parts;
        parts.width = kWidth;
        parts.height = kHeight;
        parts.bitCount = 24;
        parts.pixels.assign(dibStride(24, kWidth) * kHeight, 0x80);
        return parts.file();
    }
    return {};
}

std::string upperCased(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return text;
}

// Each entry must be the one its own signature, extensions and trusted extension lead
// to (no other entry shadowing it), and each way in must decode its picture.
TEST(BuiltinDecoders, EveryEntryIsReachedByContentByExtensionAndByTheRegistry) {
    TempDir dir;
    const PictureRegistry registry;
    GraphicLoader loader(nullptr);
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    NkDib target;
    GraphicLoadInfo info;
    for (const BuiltinDecoder& decoder : builtinDecoders()) {
        SCOPED_TRACE(decoder.description);
        const std::vector<uint8_t> sample = samplePicture(decoder.kind);
        ASSERT_FALSE(sample.empty()) << "no sample picture of this kind";
        for (const std::string& extension : decoder.extensions) {
            const std::string path = dir.write("picture." + extension, sample);
            EXPECT_EQ(builtinDecoderForContent(sample, path), &decoder) << extension;
            ASSERT_TRUE(registry.decoderForFile(path)) << extension;
            EXPECT_EQ(registry.decoderForFile(path)->decoder.builtin, &decoder) << extension;
            EXPECT_EQ(decoder.openFile(path, {}).width(), kWidth) << extension;

            loader.doAnalyze = true;
            loader.loadFromFile(target, path, false, info);
            EXPECT_EQ(info.kind, decoder.kind) << extension;
            EXPECT_EQ(info.height, kHeight) << extension;
        }
        if (!decoder.trustedExtension.empty()) {
            const std::string path =
                dir.write("PICTURE." + upperCased(decoder.trustedExtension), sample);
            EXPECT_EQ(builtinDecoderTrustedBy(path), &decoder);
            loader.doAnalyze = false;
            loader.loadFromFile(target, path, false, info);
            EXPECT_EQ(info.kind, decoder.kind);
            EXPECT_EQ(info.height, kHeight);
        }
    }
}

}  // namespace
}  // namespace ravinel
