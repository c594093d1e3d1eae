#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel {

// A thumbnail entry's picture and its text keys ("Thumb::URI" -> "file:///...").
struct ThumbPng {
    NkDib picture;  // 24 bit; transparency laid over white
    std::map<std::string, std::string> text;
};

// Decodes a PNG entry whose sides are at most maxSide. Empty when the bytes are not a
// whole, clean PNG of that size: a damaged or hostile entry is only ignored.
std::optional<ThumbPng> decodeThumbPng(std::span<const uint8_t> bytes, int maxSide);

// Encodes a picture (turned to 24 bit) as PNG with the text keys, in the order given.
std::vector<uint8_t> encodeThumbPng(const NkDib& picture,
                                    const std::vector<std::pair<std::string, std::string>>& text);

}  // namespace ravinel
