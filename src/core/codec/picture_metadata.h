#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "dib/dib_orientation.h"
#include "dib/nk_dib.h"

namespace ravinel {

// What a picture file says about showing its pixels, besides the pixels: how the stored
// rows stand, the ICC profile of their colours (empty: none, the colours are sRGB's), and
// their opacities, stored as the picture is (an 8-bit DIB of its size whose indices are
// the opacities, 0 transparent to 255 opaque; none for an opaque picture). A moving
// picture has more than one frame; a frame's record says how long it stays, in
// milliseconds as stored.
struct PictureMetadata {
    DibOrientation orientation = DibOrientation::topLeft;
    std::vector<uint8_t> iccProfile;
    std::optional<NkDib> alpha;
    int32_t frameCount = 1;
    int32_t delayMs = 0;
};

}  // namespace ravinel
