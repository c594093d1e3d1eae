#include "browse/thumb_input.h"

#include <algorithm>

namespace ravinel {

std::optional<int32_t> arrowKeyTarget(ArrowKey key, int32_t itemIndex, int32_t count,
                                      int32_t columns) {
    if (count <= 0) {
        return std::nullopt;
    }
    const int32_t cols = std::max(columns, 1);
    switch (key) {
        case ArrowKey::left:
            if (itemIndex > 0) {
                return itemIndex - 1;
            }
            break;
        case ArrowKey::right:
            if (itemIndex < count - 1) {
                return itemIndex + 1;
            }
            break;
        case ArrowKey::up:
            if (itemIndex - cols >= 0) {
                return itemIndex - cols;
            }
            break;
        case ArrowKey::down: {
            if (itemIndex < 0) {
                return 0;
            }
            const int32_t below = itemIndex + cols;
            if (below < count) {
                return below;
            }
            if (itemIndex % cols > (count - 1) % cols) {
                return count - 1;
            }
            break;
        }
    }
    return std::nullopt;
}

int32_t wheelStep(int32_t delta) {
    if (delta > 0) {
        return delta / 8 + 1;
    }
    if (delta < 0) {
        return delta / 8 - 1;
    }
    return 0;
}

int32_t wheelScrollPosition(int32_t pos, int32_t delta, int32_t maxScroll) {
    const int64_t moved = static_cast<int64_t>(pos) - wheelStep(delta);
    return static_cast<int32_t>(std::clamp<int64_t>(moved, 0, std::max(maxScroll, 0)));
}

}  // namespace ravinel
