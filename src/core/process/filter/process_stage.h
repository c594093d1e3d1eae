#pragma once

#include <cstdint>
#include <functional>

namespace ravinel {

// What the picture processing is doing; the windows show it in their own language, the
// tool prints processStageText.
enum class ProcessStage : uint8_t {
    row,  // a further hundred rows of the current pass
    resizing,
    colorDepth,
    noiseRemoval,
    normalizing,
    sharpening,
    brightnessRange,
    brightnessAdjustment,
    conditionalAverage,
};

// The stage's text ("リサイズ中" ...); empty for a row.
const char* processStageText(ProcessStage stage);

// Called when a stage starts and at every row whose index is a multiple of 100 (in each
// pass over the rows); may be left empty.
using ProgressStageEvent = std::function<void(ProcessStage)>;

}  // namespace ravinel
