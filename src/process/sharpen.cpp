#include "image/simd_level.h"
#include "process/bordered_copy.h"
#include "process/dib_rows.h"
#include "process/filter_bands.h"
#include "process/filter_progress.h"
#include "process/filter_source.h"
#include "process/image_filters.h"
#include "process/sharpen_rows.h"

namespace ravinel {
namespace {

using VectorBytes = int (*)(const uint8_t*, const uint8_t*, const uint8_t*, uint8_t*, int);

// The vector routine of the level in use, or none for the portable loop.
VectorBytes vectorBytes() {
#if defined(__x86_64__)
    switch (simdLevel()) {
        case SimdLevel::avx2:
            return sharpenBytesAvx2;
        case SimdLevel::sse2:
            return sharpenBytesSse2;
        case SimdLevel::portable:
            break;
    }
#endif
    return nullptr;
}

}  // namespace

void sharpen(NkDib& dest, const NkDib& src, const ProgressTextEvent& progress) {
    const NkDib source = filterSource(src);
    reportStage(progress, "シャープ処理中");
    sizeLike(dest, source);
    const NkDib bordered = borderedCopy(source);
    const std::vector<const uint8_t*> in = constRows(bordered);
    const std::vector<uint8_t*> out = rows(dest);
    const int byteCount = 3 * source.width();
    const VectorBytes vector = vectorBytes();
    forEachFilterBand(source.height(), source.width(), progress, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const uint8_t* above = in[static_cast<size_t>(y)];
            const uint8_t* row = in[static_cast<size_t>(y) + 1];
            const uint8_t* below = in[static_cast<size_t>(y) + 2];
            uint8_t* dst = out[static_cast<size_t>(y)];
            const int done = vector ? vector(above, row, below, dst, byteCount) : 0;
            sharpenBytes(above, row, below, dst, done, byteCount);
        }
    });
}

}  // namespace ravinel
