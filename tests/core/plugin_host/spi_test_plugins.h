#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "dib/nk_dib.h"
#include "tests/temp_dir.h"

namespace ravinel::testing {

// The test plug-ins built with the tests (see spi_fixtures/test_plugin.cpp). Each paints
// its tag into the red channel of the pictures it decodes.
inline constexpr uint8_t kRvtestTag = 1;
inline constexpr uint8_t kNoPreviewTag = 2;

// What a test picture asks of the plug-in that decodes it (see test_plugin.cpp); only
// the plug-in with tag 1 returns broken pictures.
enum class FixtureMode : uint8_t {
    trueColour = 0,
    palette = 1,
    badBitCount = 2,
    badHeaderSize = 3,
    pixelsTooShort = 4,
    tooManyColours = 5,
    infoTooShort = 6,
    topDown = 7,
    noBits = 8,
    negativeWidth = 9,
    hugeWidth = 10,          // INT32_MAX pixels wide
    hugeSides = 11,          // 32-bit, INT32_MAX wide and high
    colours257 = 12,         // an 8-bit picture with 257 palette entries, all present
    headerBeyondBlock = 13,  // a 124-byte header size in a 40-byte block
    noInfo = 14,             // success without the information block
    bitFields = 15,          // a compression the host does not take
    progressStorm = 16,      // a good picture after a million wild progress calls
    zeroHeight = 17,
    declaresHuge = 18,        // GetPictureInfo declares 60000 x 60000, GetPicture the true size
    alpha = 19,               // 32-bit with a V5 header; bottom row's opacity 0, 127, 254, ...
    alphaBadMasks = 20,       // the same with the alpha mask on the red byte
    alphaBadHeaderSize = 21,  // bit fields in a 100-byte header
    frames = 22,              // three frames: frame i has blue + i and i * 10 ms of delay
    framesHugeCount = 23,     // a frame count of INT32_MAX
    framesWrongSize = 24,     // frame 1 a pixel wider than the picture
    framesBadDelay = 25,      // frame 1 with a delay of -5 ms
};

inline std::vector<uint8_t> fixturePicture(uint8_t width, uint8_t height, uint8_t blue = 10,
                                           uint8_t green = 20,
                                           FixtureMode mode = FixtureMode::trueColour) {
    // Padded: the loader analyses files of at least 10 bytes only.
    return {'R', 'V', 'T', '1', width, height, blue, green, static_cast<uint8_t>(mode), 0, 0, 0};
}

// Copies the built test plug-in name (without ".spi") into folder as fileName.
inline std::string installFixture(const TempDir& folder, const std::string& name,
                                  const std::string& fileName) {
    const std::string target = folder.path(fileName);
    std::filesystem::copy_file(std::string(RAVINEL_SPI_FIXTURE_DIR) + "/" + name + ".spi", target);
    return target;
}

// The red channel of the top-left pixel of a 24-bit picture: the tag of the plug-in.
inline uint8_t decodedBy(const NkDib& picture) {
    return picture.constScanLine(0)[2];
}

}  // namespace ravinel::testing
