#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// What shows through the transparent parts of a picture; a value outside these draws the
// checkerboard.
enum class AlphaBackgroundKind : uint8_t { checkerboard = 0, color = 1 };

// Squares of two greys, light in the top-left corner, that both white and black strokes
// stand out against.
inline constexpr int kCheckerSquare = 8;
inline constexpr uint8_t kCheckerLightGrey = 0x99;
inline constexpr uint8_t kCheckerDarkGrey = 0x66;

struct AlphaBackground {
    AlphaBackgroundKind kind = AlphaBackgroundKind::checkerboard;
    uint32_t color = 0xFFFFFF;  // 0x00BBGGRR, for AlphaBackgroundKind::color
    friend bool operator==(const AlphaBackground&, const AlphaBackground&) = default;
};

// Composites a 24-bit picture of straight colours over the background, in place: each
// channel becomes (c * a + b * (255 - a) + 127) / 255 for the opacity a of the pixel in
// alpha (an 8-bit DIB of the same size whose indices are the opacities). The
// checkerboard's squares start at the picture's top-left corner. Throws
// NkDibInvalidDibParaError for a picture that is not 24-bit or an alpha of another size.
void compositeOverBackground(NkDib& picture, const NkDib& alpha, const AlphaBackground& background);

}  // namespace ravinel
