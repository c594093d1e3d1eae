#include "process/filter/filter_bands.h"

#include <algorithm>
#include <cstddef>

#include "platform/parallel_bands.h"
#include "process/filter/filter_progress.h"

namespace ravinel {
namespace {

// Fewer pixels than this per band cost more in waking threads than they save.
constexpr int kMinBandPixels = 65536;
constexpr int kRowsPerReportedBlock = 400;

}  // namespace

void forEachFilterBand(int height, int width, const ProgressStageEvent& progress,
                       const std::function<void(int begin, int end)>& work) {
    const auto minBand = static_cast<size_t>(std::max(1, kMinBandPixels / std::max(width, 1)));
    const int block = progress ? kRowsPerReportedBlock : std::max(height, 1);
    for (int start = 0; start < height; start += block) {
        const int end = std::min(height, start + block);
        for (int y = start; y < end; ++y) {
            reportRow(progress, y);
        }
        forEachBand(static_cast<size_t>(end - start), minBand, [&](size_t begin, size_t stop) {
            work(start + static_cast<int>(begin), start + static_cast<int>(stop));
        });
    }
}

}  // namespace ravinel
