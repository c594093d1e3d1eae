#include "process/brightness_range.h"

#include <array>
#include <cstdint>

#include "process/brightness_mapping.h"
#include "process/filter_progress.h"
#include "process/filter_source.h"

namespace ravinel {
namespace {

using Histogram = std::array<int64_t, 256>;

Histogram luminanceHistogram(const NkDib& source, const ProgressTextEvent& progress) {
    Histogram histogram{};
    for (int y = 0; y < source.height(); ++y) {
        reportRow(progress, y);
        const uint8_t* p = source.constScanLine(y);
        for (int x = 0; x < source.width(); ++x, p += 3) {
            ++histogram[static_cast<size_t>(luminance(p[0], p[1], p[2]))];
        }
    }
    return histogram;
}

// The first level, walking by step from start, at which more than clipped pixels have
// been passed, counting that level's own.
int clippedLevel(const Histogram& histogram, int64_t clipped, int start, int step) {
    int64_t remainder = clipped;
    for (int level = start; level >= 0 && level <= 255; level += step) {
        const int64_t count = histogram[static_cast<size_t>(level)];
        if (count == 0) {
            continue;
        }
        if (remainder < count) {
            return level;
        }
        remainder -= count;
    }
    // Unreachable: the histogram holds more than 256 x clipped pixels.
    return start;
}

}  // namespace

std::optional<BrightnessRange> prepareNormalization(NkDib& dest, const NkDib& source,
                                                    const ProgressTextEvent& progress) {
    sizeLike(dest, source);
    reportStage(progress, "輝度範囲取得中");
    const Histogram histogram = luminanceHistogram(source, progress);
    const int64_t clipped = int64_t{source.width()} * source.height() / 256;
    if (clipped == 0) {
        dest = source;
        return std::nullopt;
    }
    const int lo = clippedLevel(histogram, clipped, 0, 1);
    const int hi = clippedLevel(histogram, clipped, 255, -1);
    if (hi == lo) {
        dest = source;
        return std::nullopt;
    }
    reportStage(progress, "輝度調整処理中");
    return BrightnessRange{lo, brightnessScale(lo, hi)};
}

}  // namespace ravinel
