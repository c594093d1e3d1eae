#pragma once

#include <cstdint>

namespace ravinel {

// Where a picture stands inside a thumbnail tile; right and bottom are exclusive.
struct ImageRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const ImageRect&, const ImageRect&) = default;
};

// The place of a w x h picture in a tile panelW wide whose square of imageSize starts
// imageTop from the top: a picture smaller than the square on both sides is centred in
// it, a larger one is centred across its shorter side only (its longer side fills the
// square), and the square is centred across the tile.
ImageRect placeImage(int32_t w, int32_t h, int32_t imageSize, int32_t panelW, int32_t imageTop);

}  // namespace ravinel
