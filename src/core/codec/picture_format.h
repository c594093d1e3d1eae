#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace ravinel {

// The bytes of a file's start that pictureFormatOf looks at.
inline constexpr size_t kPictureFormatHeadBytes = 16;

// What a failed load tells of the content: the name of the picture format its first bytes
// show ("PNG", "AVIF", ...), empty when they show none this program knows, and whether
// fileName's extension is one of that format's.
struct PictureFormat {
    std::string name;
    bool extensionMatches = false;
};

// Recognises the common picture formats by their signatures, whether or not a decoder
// for them is at hand: JPEG, PNG, GIF, BMP, TIFF, WebP, AVIF, HEIF and JPEG XL.
PictureFormat pictureFormatOf(std::span<const uint8_t> head, const std::string& fileName);

}  // namespace ravinel
