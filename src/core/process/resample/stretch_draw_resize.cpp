#include <cstdint>
#include <cstring>
#include <vector>

#include "process/dib_rows.h"
#include "process/resample/g_resize.h"
#include "process/resample/stretch_target.h"

namespace ravinel {
namespace {

// Destination pixel d of an axis shows the source pixel under its centre:
// floor((d + 1/2) x S / D). Enlarging by a whole factor k repeats every pixel k times;
// reducing by k takes pixel k x d + k / 2 of each block.
int32_t sourceUnderCentre(int32_t d, int32_t sourceLength, int32_t destLength) {
    return static_cast<int32_t>((2 * static_cast<int64_t>(d) + 1) * sourceLength /
                                (2 * static_cast<int64_t>(destLength)));
}

}  // namespace

void stretchDrawResize(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    const NkDib source = prepareStretch(dest, src, height, width);
    std::vector<size_t> columnOffsets(width);
    for (int32_t x = 0; x < width; ++x) {
        columnOffsets[static_cast<size_t>(x)] =
            3 * static_cast<size_t>(sourceUnderCentre(x, source.width(), width));
    }
    const std::vector<const uint8_t*> in = constRows(source);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    int32_t previousRow = -1;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sourceRow = sourceUnderCentre(y, source.height(), height);
        uint8_t* dst = out[static_cast<size_t>(y)];
        if (sourceRow == previousRow) {
            std::memcpy(dst, out[static_cast<size_t>(y - 1)], rowBytes);
            continue;
        }
        const uint8_t* row = in[static_cast<size_t>(sourceRow)];
        for (const size_t offset : columnOffsets) {
            dst[0] = row[offset];
            dst[1] = row[offset + 1];
            dst[2] = row[offset + 2];
            dst += 3;
        }
        previousRow = sourceRow;
    }
}

}  // namespace ravinel
