#include "process/filter/bordered_copy.h"

#include <cstring>
#include <vector>

#include "process/dib_rows.h"
#include "process/filter/filter_bands.h"

namespace ravinel {

NkDib borderedCopy(const NkDib& src) {
    const int width = src.width();
    const int height = src.height();
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    NkDib bordered;
    bordered.setBitCount(24);
    bordered.setHeight(height + 2);
    bordered.setWidth(width + 2);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(bordered);
    forEachFilterBand(height, width, {}, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const uint8_t* from = in[static_cast<size_t>(y)];
            uint8_t* to = out[static_cast<size_t>(y) + 1];
            std::memcpy(to, from, 3);
            std::memcpy(to + 3, from, rowBytes);
            std::memcpy(to + 3 + rowBytes, from + rowBytes - 3, 3);
        }
    });
    const size_t borderedBytes = rowBytes + 6;
    std::memcpy(out.front(), out[1], borderedBytes);
    std::memcpy(out.back(), out[static_cast<size_t>(height)], borderedBytes);
    return bordered;
}

}  // namespace ravinel
