#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// How a picture's stored rows stand, numbered as the EXIF and TIFF orientation tags number
// them: where the first stored row and the first stored column lie in the upright picture.
enum class DibOrientation : uint8_t {
    topLeft = 1,      // upright as stored
    topRight = 2,     // mirrored left to right
    bottomRight = 3,  // half a turn
    bottomLeft = 4,   // mirrored top to bottom
    leftTop = 5,      // mirrored along the main diagonal
    rightTop = 6,     // stands upright after a quarter turn clockwise
    rightBottom = 7,  // mirrored along the other diagonal
    leftBottom = 8,   // stands upright after a quarter turn anticlockwise
};

// The orientation a tag's value names; a value outside 1 to 8 reads as upright.
DibOrientation dibOrientationOfTag(int value);

// True where the upright picture has width and height exchanged.
inline bool swapsSides(DibOrientation orientation) {
    return static_cast<uint8_t>(orientation) >= static_cast<uint8_t>(DibOrientation::leftTop);
}

// The picture as it stands upright: same bit count and palette, sides exchanged where
// swapsSides says. An upright picture comes back sharing its store; a run-length coded
// one is expanded first.
NkDib turnedUpright(const NkDib& picture, DibOrientation orientation);

}  // namespace ravinel
