#pragma once

#include "process/filter/image_filters.h"

namespace ravinel {

inline void reportStage(const ProgressStageEvent& progress, ProcessStage stage) {
    if (progress) {
        progress(stage);
    }
}

// Rows 0, 100, 200, ... of a pass are reported.
inline void reportRow(const ProgressStageEvent& progress, int y) {
    if (progress && y % 100 == 0) {
        progress(ProcessStage::row);
    }
}

}  // namespace ravinel
