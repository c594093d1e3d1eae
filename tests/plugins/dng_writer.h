// Tiny DNG files written with libtiff as a camera writes them: a reduced RGB preview in
// the first directory and the undeveloped red, green, green, blue mosaic in its SubIFD.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>

#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

struct DngPicture {
    int width = 64;
    int height = 48;
    // The mosaic's samples at its red, green and blue sites in the right half, on a
    // 12-bit scale; the left half holds half of them.
    std::array<std::uint16_t, 3> mosaic = {1000, 2000, 1600};
    // How the camera saw white, as the mosaic's red, green and blue.
    std::array<float, 3> asShotNeutral = {0.5f, 1.0f, 0.8f};
    int orientation = 1;
    enum class Preview { none, bitmap, jpeg } preview = Preview::jpeg;
    int previewWidth = 16;
    int previewHeight = 12;
    // The preview's one colour, red, green, blue.
    std::array<std::uint8_t, 3> previewColour = {200, 40, 60};
};

// The file's bytes, empty when libtiff failed.
Bytes encodeDng(const DngPicture& picture);

// Writes the file; false when libtiff failed.
bool writeDng(const DngPicture& picture, const std::filesystem::path& path);

}  // namespace ravinel::test
