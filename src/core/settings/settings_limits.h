#pragma once

#include <cstdint>

#include "settings/settings_records.h"

namespace ravinel {

// The settings file keeps whatever numbers it holds; where a size or position from it is
// used, it first passes here and comes out as something the program can draw, so that no
// layout arithmetic on it overflows.

// Window edges and sizes: the X11 protocol carries 16-bit signed coordinates.
inline constexpr int32_t kMaxWindowCoordinate = 32767;
// The label font of the thumbnail tiles, in points.
inline constexpr int32_t kMaxLabelPointSize = 1000;

// The tiles with sides of 1 to kMaxWindowCoordinate, a thumbnail square of 1 to the
// largest thumbnail side, the square's and the label's tops within kMaxWindowCoordinate
// either way and a label font of 1 to kMaxLabelPointSize points. Colours, style and font
// name stay as stored.
ThumbPanel drawableThumbPanel(const ThumbPanel& stored);

// A window's edges within kMaxWindowCoordinate either way, right not left of left and
// bottom not above top.
Rect drawableWindowRect(const Rect& stored);

// A width of 0 to kMaxWindowCoordinate.
int32_t drawableWidth(int32_t stored);

// The largest picture side the loader takes: kMinSideLimit to kMaxSideLimit.
int32_t pictureSideLimit(int32_t stored);

// Pictures an image window prepares ahead each way: 0 to kMaxPreloadCount. More would
// only wait on the memory budget.
inline constexpr int32_t kMaxPreloadCount = 8;
int32_t preloadCountLimit(int32_t stored);

}  // namespace ravinel
