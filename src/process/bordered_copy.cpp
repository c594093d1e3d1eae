#include "process/bordered_copy.h"

#include <cstring>

namespace ravinel {

NkDib borderedCopy(const NkDib& src) {
    const int width = src.width();
    const int height = src.height();
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    NkDib bordered;
    bordered.setBitCount(24);
    bordered.setHeight(height + 2);
    bordered.setWidth(width + 2);
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = src.constScanLine(y);
        uint8_t* out = bordered.scanLine(y + 1);
        std::memcpy(out, in, 3);
        std::memcpy(out + 3, in, rowBytes);
        std::memcpy(out + 3 + rowBytes, in + rowBytes - 3, 3);
    }
    const size_t borderedBytes = rowBytes + 6;
    std::memcpy(bordered.scanLine(0), bordered.constScanLine(1), borderedBytes);
    std::memcpy(bordered.scanLine(height + 1), bordered.constScanLine(height), borderedBytes);
    return bordered;
}

}  // namespace ravinel
