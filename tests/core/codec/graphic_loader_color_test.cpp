#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "codec/jpeg/jpeg_decoder.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/icc_profiles.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel {
namespace {

using fixtures::bgrPixels;
using fixtures::iccBytes;
using fixtures::TestProfile;

const fixtures::SamplePicture kPhoto = fixtures::photoLikePicture(83, 61);

std::vector<uint8_t> jpegWith(const std::vector<uint8_t>& profile) {
    return fixtures::encodeJpeg(kPhoto, {}, profile);
}

class GraphicLoaderColorTest : public ::testing::Test {
  protected:
    std::vector<uint8_t> loaded(const std::vector<uint8_t>& jpeg, bool preview = false) {
        GraphicLoadInfo info;
        NkDib target;
        loader.loadFromFile(target, dir.write("photo.jpg", jpeg), preview, info);
        EXPECT_TRUE(info.succeeded()) << loadFailureText(info);
        return bgrPixels(target);
    }

    testing::TempDir dir;
    GraphicLoader loader{nullptr};
    // The pixels as stored, whatever profile the file embeds.
    const std::vector<uint8_t> stored = bgrPixels(decodeJpeg(jpegWith({}), {}));
};

// The loader's conversion, for the picture and its thumbnail, against Little CMS called
// directly on the stored pixels.
TEST_F(GraphicLoaderColorTest, WideGamutJpegConvertsAsLittleCmsDoes) {
    loader.inJpgFirst = true;
    loader.previewSize = 20;
    const std::vector<uint8_t> proPhoto = iccBytes(TestProfile::proPhoto);
    const std::vector<uint8_t> adobe = iccBytes(TestProfile::adobeRgb);
    const std::vector<uint8_t> reduced =
        bgrPixels(decodeJpeg(jpegWith({}), {.scaleDenominator = 2}));
    EXPECT_EQ(loaded(jpegWith(proPhoto)),
              fixtures::convertedByLittleCms(proPhoto, {}, stored.data(), stored.size() / 3));
    EXPECT_EQ(loaded(jpegWith(proPhoto), true),
              fixtures::convertedByLittleCms(proPhoto, {}, reduced.data(), reduced.size() / 3));
    loader.setTargetProfile(adobe);
    EXPECT_EQ(loaded(jpegWith(proPhoto)),
              fixtures::convertedByLittleCms(proPhoto, adobe, stored.data(), stored.size() / 3));
}

TEST_F(GraphicLoaderColorTest, StoredPixelsWhereNothingIsToConvert) {
    loader.inJpgFirst = true;
    std::vector<uint8_t> truncated = iccBytes(TestProfile::adobeRgb);
    truncated.resize(100);
    EXPECT_EQ(loaded(jpegWith({})), stored);
    EXPECT_EQ(loaded(jpegWith(iccBytes(TestProfile::srgb))), stored);
    EXPECT_EQ(loaded(jpegWith(truncated)), stored);
    loader.useColorProfile = false;
    EXPECT_EQ(loaded(jpegWith(iccBytes(TestProfile::proPhoto))), stored);
}

}  // namespace
}  // namespace ravinel
