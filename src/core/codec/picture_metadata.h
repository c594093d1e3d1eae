#pragma once

#include <cstdint>
#include <vector>

#include "dib/dib_orientation.h"

namespace ravinel {

// What a picture file says about showing its pixels, besides the pixels: how the stored
// rows stand and the ICC profile of their colours (empty: none, the colours are sRGB's).
struct PictureMetadata {
    DibOrientation orientation = DibOrientation::topLeft;
    std::vector<uint8_t> iccProfile;
};

}  // namespace ravinel
