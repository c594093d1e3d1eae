#include "process/dib_rows.h"

namespace ravinel {

std::vector<const uint8_t*> constRows(const NkDib& dib) {
    std::vector<const uint8_t*> result(static_cast<size_t>(dib.height()));
    for (int y = 0; y < dib.height(); ++y) {
        result[static_cast<size_t>(y)] = dib.constScanLine(y);
    }
    return result;
}

std::vector<uint8_t*> rows(NkDib& dib) {
    std::vector<uint8_t*> result(static_cast<size_t>(dib.height()));
    for (int y = 0; y < dib.height(); ++y) {
        result[static_cast<size_t>(y)] = dib.scanLine(y);
    }
    return result;
}

}  // namespace ravinel
