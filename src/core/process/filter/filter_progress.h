#pragma once

#include <string>

#include "process/filter/image_filters.h"

namespace ravinel {

inline void reportStage(const ProgressTextEvent& progress, const std::string& text) {
    if (progress) {
        progress(text);
    }
}

// Rows 0, 100, 200, ... of a pass report an empty text.
inline void reportRow(const ProgressTextEvent& progress, int y) {
    if (progress && y % 100 == 0) {
        progress(std::string());
    }
}

}  // namespace ravinel
