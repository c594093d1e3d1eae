#include "process/bordered_copy.h"
#include "process/dib_rows.h"
#include "process/filter_progress.h"
#include "process/filter_source.h"
#include "process/image_filters.h"
#include "process/saturate.h"

namespace ravinel {
namespace {

// v / 16 rounded half up, as the packed path does it: signed 16-bit saturation, + 8 with
// saturation, arithmetic shift, unsigned byte saturation. v stays within -3060..7140, so
// the 16-bit steps never saturate in practice.
inline uint8_t sharpenedValue(int32_t v) {
    return clampByte(saturateInt16(saturateInt16(v) + 8) >> 4);
}

}  // namespace

void sharpen(NkDib& dest, const NkDib& src, const ProgressTextEvent& progress) {
    const NkDib source = filterSource(src);
    reportStage(progress, "シャープ処理中");
    sizeLike(dest, source);
    const NkDib bordered = borderedCopy(source);
    const std::vector<const uint8_t*> in = constRows(bordered);
    const std::vector<uint8_t*> out = rows(dest);
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        reportRow(progress, y);
        const uint8_t* above = in[static_cast<size_t>(y)];
        const uint8_t* row = in[static_cast<size_t>(y) + 1];
        const uint8_t* below = in[static_cast<size_t>(y) + 2];
        uint8_t* dst = out[static_cast<size_t>(y)];
        for (int i = 0; i < 3 * width; ++i) {
            // i is the left neighbour's byte; i + 3 the pixel's, i + 6 the right one's.
            const int32_t corners = above[i] + above[i + 6] + below[i] + below[i + 6];
            const int32_t sides = above[i + 3] + row[i] + row[i + 6] + below[i + 3];
            dst[i] = sharpenedValue(28 * row[i + 3] - corners - 2 * sides);
        }
    }
}

}  // namespace ravinel
