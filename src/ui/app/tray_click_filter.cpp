#include "app/tray_click_filter.h"

#include <algorithm>

namespace ravinel {

void TrayClickFilter::click(int64_t nowMs, int64_t doubleClickIntervalMs) {
    if (!dueAt_) {
        dueAt_ = nowMs + std::max<int64_t>(doubleClickIntervalMs, 0);
    }
}

void TrayClickFilter::doubleClick() {
    dueAt_.reset();
}

bool TrayClickFilter::takeDueClick(int64_t nowMs) {
    if (!dueAt_ || nowMs < *dueAt_) {
        return false;
    }
    dueAt_.reset();
    return true;
}

}  // namespace ravinel
