#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "tests/orientation_cases.h"
#include "tests/temp_dir.h"
#include "tools/fixtures/exif_block.h"
#include "tools/fixtures/jpeg_encoder.h"
#include "tools/fixtures/sample_picture.h"

namespace ravinel {
namespace {

using testing::TempDir;

constexpr int kBlock = 16;

// Six blocks of clearly different colours, ABC over DEF, each kBlock pixels square.
const std::vector<std::array<uint8_t, 3>> kLetterColours = {
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}};

std::vector<uint8_t> lettersJpeg() {
    fixtures::SamplePicture picture{3 * kBlock, 2 * kBlock, 3, {}};
    picture.samples.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const auto& colour = kLetterColours[static_cast<size_t>(y / kBlock * 3 + x / kBlock)];
            std::copy(colour.begin(), colour.end(), picture.at(x, y));
        }
    }
    return fixtures::encodeJpeg(picture, {.quality = 95, .fullChroma = true});
}

// The letter whose colour the pixel is closest to.
char letterAt(const NkDib& dib, int x, int y) {
    const uint8_t* pixel = dib.constScanLine(y) + 3 * x;
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < kLetterColours.size(); ++i) {
        const auto& c = kLetterColours[i];
        const int distance =
            std::abs(pixel[2] - c[0]) + std::abs(pixel[1] - c[1]) + std::abs(pixel[0] - c[2]);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<char>('A' + best);
}

// Every pixel of each block must show the block's letter, so a turn off by one pixel shows.
std::vector<std::string> lettersOf(const NkDib& dib) {
    std::vector<std::string> rows(static_cast<size_t>(dib.height() / kBlock));
    for (int by = 0; by < dib.height() / kBlock; ++by) {
        for (int bx = 0; bx < dib.width() / kBlock; ++bx) {
            const char letter = letterAt(dib, bx * kBlock + kBlock / 2, by * kBlock + kBlock / 2);
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y) {
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    if (letterAt(dib, x, y) != letter) {
                        return {"pixel " + std::to_string(x) + "," + std::to_string(y)};
                    }
                }
            }
            rows[static_cast<size_t>(by)] += letter;
        }
    }
    return rows;
}

class JpegOrientation : public ::testing::Test {
  protected:
    GraphicLoadInfo load(const std::string& path) {
        GraphicLoadInfo info;
        loader.loadFromFile(target, path, false, info);
        return info;
    }

    TempDir dir;
    GraphicLoader loader{nullptr};
    NkDib target;
    const std::vector<uint8_t> jpeg = lettersJpeg();
};

// By content and by the trusted extension, big-endian and little-endian EXIF alike.
TEST_F(JpegOrientation, EachOrientationStandsUprightWithItsUprightSize) {
    loader.inJpgFirst = true;
    for (const testing::TurnCase& c : testing::kTurnCases) {
        for (const bool byContent : {false, true}) {
            loader.doAnalyze = byContent;
            const std::string path = dir.write(
                byContent ? "photo.dat" : "photo.jpg",
                fixtures::jpegWithExif(jpeg, fixtures::exifWithOrientation(c.tag, byContent)));
            const GraphicLoadInfo info = load(path);
            ASSERT_EQ(info.kind, GraphicKind::gkJpeg) << c.tag;
            EXPECT_EQ(lettersOf(target), c.upright) << "tag " << c.tag;
            EXPECT_EQ(info.width, target.width());
            EXPECT_EQ(info.height, target.height());
        }
    }
}

TEST_F(JpegOrientation, TheOptionOffLeavesThePictureAsStored) {
    loader.inJpgFirst = true;
    loader.useOrientation = false;
    const GraphicLoadInfo info = load(
        dir.write("photo.jpg", fixtures::jpegWithExif(jpeg, fixtures::exifWithOrientation(6))));
    EXPECT_EQ(lettersOf(target), (std::vector<std::string>{"ABC", "DEF"}));
    EXPECT_EQ(info.width, 3 * kBlock);
    EXPECT_EQ(info.height, 2 * kBlock);
}

}  // namespace
}  // namespace ravinel
