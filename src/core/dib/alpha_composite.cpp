#include "dib/alpha_composite.h"

#include <array>

#include "dib/conversion_bands.h"
#include "dib/nk_dib_error.h"
#include "platform/parallel_bands.h"

namespace ravinel {

namespace {

uint8_t blend(unsigned colour, unsigned alpha, unsigned background) {
    return static_cast<uint8_t>((colour * alpha + background * (255u - alpha) + 127u) / 255u);
}

// A background colour as blue, green, red.
using Bgr = std::array<uint8_t, 3>;

Bgr colourOf(uint32_t color) {
    return {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
            static_cast<uint8_t>(color)};
}

}  // namespace

void compositeOverBackground(NkDib& picture, const NkDib& alpha,
                             const AlphaBackground& background) {
    if (picture.bitCount() != 24 || alpha.bitCount() != 8 || alpha.width() != picture.width() ||
        alpha.height() != picture.height()) {
        throw NkDibInvalidDibParaError("Alpha does not match the picture");
    }
    const Bgr plain = colourOf(background.color);
    const Bgr light = {kCheckerLightGrey, kCheckerLightGrey, kCheckerLightGrey};
    const Bgr dark = {kCheckerDarkGrey, kCheckerDarkGrey, kCheckerDarkGrey};
    const bool checkered = background.kind != AlphaBackgroundKind::color;
    const auto width = static_cast<int32_t>(picture.width());
    picture.scanLine(0);  // unshares the store before the threads write into its rows
    forEachBand(static_cast<size_t>(picture.height()), conversionBandRows(width),
                [&](size_t first, size_t end) {
                    for (size_t r = first; r < end; ++r) {
                        const auto y = static_cast<int>(r);
                        uint8_t* pixel = picture.scanLine(y);
                        const uint8_t* opacity = alpha.constScanLine(y);
                        const bool lightRow = (y / kCheckerSquare) % 2 == 0;
                        for (int32_t x = 0; x < width; ++x, pixel += 3) {
                            const bool lightSquare = lightRow == ((x / kCheckerSquare) % 2 == 0);
                            const Bgr& under = !checkered ? plain : lightSquare ? light : dark;
                            for (int c = 0; c < 3; ++c) {
                                pixel[c] = blend(pixel[c], opacity[x], under[c]);
                            }
                        }
                    }
                });
}

}  // namespace ravinel
