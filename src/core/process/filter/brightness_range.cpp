#include "process/filter/brightness_range.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/vector_path.h"
#include "process/dib_rows.h"
#include "process/filter/brightness_mapping.h"
#include "process/filter/brightness_rows.h"
#include "process/filter/filter_bands.h"
#include "process/filter/filter_progress.h"
#include "process/filter/filter_source.h"

namespace ravinel {
namespace {

using Histogram = std::array<int64_t, 256>;
using VectorLuminances = int (*)(const uint8_t*, int, uint8_t*);

// The vector routine of the level in use, or none for the portable loop.
VectorLuminances vectorLuminances() {
#if defined(__x86_64__)
    return vectorPath(luminancesSse2, luminancesAvx2);
#else
    return nullptr;
#endif
}

void countRow(const uint8_t* row, int width, VectorLuminances vector, std::vector<uint8_t>& levels,
              Histogram& histogram) {
    const int done = vector ? vector(row, width, levels.data()) : 0;
    for (int x = 0; x < done; ++x) {
        ++histogram[levels[static_cast<size_t>(x)]];
    }
    const uint8_t* p = row + 3 * static_cast<size_t>(done);
    for (int x = done; x < width; ++x, p += 3) {
        ++histogram[static_cast<size_t>(luminance(p[0], p[1], p[2]))];
    }
}

// Each band counts on its own; the counts are added up at the end.
Histogram luminanceHistogram(const NkDib& source, const ProgressStageEvent& progress) {
    const std::vector<const uint8_t*> in = constRows(source);
    const int width = source.width();
    const VectorLuminances vector = vectorLuminances();
    Histogram histogram{};
    std::mutex merging;
    forEachFilterBand(source.height(), width, progress, [&](int begin, int end) {
        Histogram band{};
        std::vector<uint8_t> levels(static_cast<size_t>(width));
        for (int y = begin; y < end; ++y) {
            countRow(in[static_cast<size_t>(y)], width, vector, levels, band);
        }
        const std::lock_guard lock(merging);
        for (size_t level = 0; level < histogram.size(); ++level) {
            histogram[level] += band[level];
        }
    });
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
                                                    const ProgressStageEvent& progress) {
    sizeLike(dest, source);
    reportStage(progress, ProcessStage::brightnessRange);
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
    reportStage(progress, ProcessStage::brightnessAdjustment);
    return BrightnessRange{lo, brightnessScale(lo, hi)};
}

}  // namespace ravinel
