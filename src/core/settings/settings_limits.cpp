#include "settings/settings_limits.h"

#include <algorithm>

#include "browse/thumb_maker.h"

namespace ravinel {

namespace {

int32_t coordinate(int32_t value) {
    return std::clamp(value, -kMaxWindowCoordinate, kMaxWindowCoordinate);
}

}  // namespace

ThumbPanel drawableThumbPanel(const ThumbPanel& stored) {
    ThumbPanel panel = stored;
    panel.panelW = std::clamp(stored.panelW, 1, kMaxWindowCoordinate);
    panel.panelH = std::clamp(stored.panelH, 1, kMaxWindowCoordinate);
    panel.imageSize = std::clamp(stored.imageSize, 1, kMaxThumbSide);
    panel.imageTop = coordinate(stored.imageTop);
    panel.labelTop = coordinate(stored.labelTop);
    panel.labelFSize = std::clamp(stored.labelFSize, 1, kMaxLabelPointSize);
    return panel;
}

Rect drawableWindowRect(const Rect& stored) {
    Rect rect;
    rect.left = coordinate(stored.left);
    rect.top = coordinate(stored.top);
    rect.right = std::max(rect.left, coordinate(stored.right));
    rect.bottom = std::max(rect.top, coordinate(stored.bottom));
    return rect;
}

int32_t drawableWidth(int32_t stored) {
    return std::clamp(stored, 0, kMaxWindowCoordinate);
}

int32_t pictureSideLimit(int32_t stored) {
    return std::clamp(stored, kMinSideLimit, kMaxSideLimit);
}

int32_t preloadCountLimit(int32_t stored) {
    return std::clamp(stored, 0, kMaxPreloadCount);
}

}  // namespace ravinel
