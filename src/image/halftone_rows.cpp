#include "image/halftone_rows.h"

#include "image/dib_pixel_index.h"

namespace ravinel {

void readHalftoneRow(const NkInternalDib& source, int32_t row, std::vector<HalftoneColor>& colors) {
    const uint8_t* in = source.pixels.data() + static_cast<size_t>(row) * source.stride();
    const int bits = source.header.biBitCount;
    for (int32_t x = 0; x < source.width; ++x) {
        if (bits == 24) {
            colors[static_cast<size_t>(x)] = {in[3 * x + 2], in[3 * x + 1], in[3 * x], 0};
        } else {
            const RgbQuad& q = source.colorTable[paletteIndex(in, x, bits)];
            colors[static_cast<size_t>(x)] = {q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
        }
    }
}

}  // namespace ravinel
