#include <algorithm>
#include <array>
#include <cstring>

#include "platform/vector_path.h"
#include "process/dib_rows.h"
#include "process/filter/filter_bands.h"
#include "process/filter/filter_progress.h"
#include "process/filter/filter_source.h"
#include "process/filter/image_filters.h"
#include "process/filter/sharpen_rows.h"

namespace ravinel {
namespace {

using VectorBytes = int (*)(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int, int);
using RowWindow = std::array<const uint8_t*, 3>;

// The vector routine of the level in use, or none for the portable loop.
VectorBytes vectorBytes() {
#if defined(__x86_64__)
    return vectorPath(sharpenBytesSse2, sharpenBytesAvx2);
#else
    return nullptr;
#endif
}

// Pixel x at an edge of its row: its neighbours gathered with the edge pixel repeated
// beyond the row, as the picture's edges are.
void sharpenEdgePixel(const RowWindow& window, uint8_t* dst, int x, int width) {
    std::array<std::array<uint8_t, 9>, 3> bordered{};
    for (size_t r = 0; r < 3; ++r) {
        for (int k = 0; k < 3; ++k) {
            const int from = std::clamp(x - 1 + k, 0, width - 1);
            std::memcpy(bordered[r].data() + 3 * k, window[r] + 3 * from, 3);
        }
    }
    std::array<uint8_t, 9> sharpened{};
    sharpenBytes(bordered[0].data(), bordered[1].data(), bordered[2].data(), sharpened.data(), 3,
                 6);
    std::memcpy(dst + 3 * x, sharpened.data() + 3, 3);
}

void sharpenRow(const RowWindow& window, uint8_t* dst, int width, VectorBytes vector) {
    sharpenEdgePixel(window, dst, 0, width);
    if (width > 1) {
        sharpenEdgePixel(window, dst, width - 1, width);
    }
    const int last = 3 * (width - 1);
    const int done =
        vector && width > 2 ? vector(window[0], window[1], window[2], dst, 3, last) : 3;
    sharpenBytes(window[0], window[1], window[2], dst, done, last);
}

}  // namespace

void sharpen(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress) {
    const NkDib source = filterSource(src);
    reportStage(progress, ProcessStage::sharpening);
    sizeLike(dest, source);
    const std::vector<const uint8_t*> in = constRows(source);
    const std::vector<uint8_t*> out = rows(dest);
    const int width = source.width();
    const int height = source.height();
    const VectorBytes vector = vectorBytes();
    forEachFilterBand(height, width, progress, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            // The rows above the first and below the last repeat them.
            const RowWindow window = {in[static_cast<size_t>(std::max(y - 1, 0))],
                                      in[static_cast<size_t>(y)],
                                      in[static_cast<size_t>(std::min(y + 1, height - 1))]};
            sharpenRow(window, out[static_cast<size_t>(y)], width, vector);
        }
    });
}

}  // namespace ravinel
