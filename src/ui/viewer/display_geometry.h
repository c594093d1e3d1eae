#pragma once

#include <cstdint>

#include "codec/decode_limits.h"
#include "common/screen_metrics.h"
#include "settings/settings_records.h"

namespace ravinel {

// The size an image window shows a picture at.
struct DisplaySize {
    uint16_t width = 0;
    uint16_t height = 0;
    friend bool operator==(const DisplaySize&, const DisplaySize&) = default;
};

// The display size of a sourceWidth x sourceHeight picture (both at least 1) under the
// window's size mode, kept within 1/256 and 256 times the picture. A fixed rate or long
// side asks for at most a box of maxSide (the largest picture side), whatever the
// settings hold, and no larger than a 256 MiB display store.
DisplaySize calcDisplaySize(int32_t sourceWidth, int32_t sourceHeight, const ViewFormConf& viewForm,
                            const ScreenMetrics& metrics, bool frameless,
                            int32_t maxSide = kMaxPictureSide);

// The size the pipeline makes the picture at: the display size, a side of 0 (a long side
// of 0 from an edited settings file) made 1, so that nothing divides by it.
DisplaySize processedSize(int32_t sourceWidth, int32_t sourceHeight, const ViewFormConf& viewForm,
                          const ScreenMetrics& metrics, bool frameless, int32_t maxSide);

// The outer bounds of an image window (frame included), in device pixels.
struct WindowBounds {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// Where the window of a picture shown at displayWidth x displayHeight stands: at the
// top of the work area, left, centred or right by posMode, with room for a scroll bar
// when only one side does not fit.
WindowBounds placeWindow(int32_t displayWidth, int32_t displayHeight, const ScreenMetrics& metrics,
                         PosMode posMode, bool frameless);

}  // namespace ravinel
