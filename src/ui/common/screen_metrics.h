#pragma once

#include <cstdint>

namespace ravinel {

// What window sizing needs to know of the screen, in device pixels. The work-area fields
// belong to the screen of the window that asked; the rest is cached by the hub.
struct ScreenMetrics {
    int32_t bitsPerPixel = 24;
    int32_t workWidth = 0;
    int32_t workHeight = 0;
    int32_t workLeft = 0;
    int32_t workTop = 0;
    int32_t hScrollHeight = 0;
    int32_t vScrollWidth = 0;
    int32_t frameWidth = 0;   // one side of a framed window's border
    int32_t frameHeight = 0;  // the bottom border
    int32_t frameX = 0;       // left and right border together
    int32_t frameY = 0;       // caption and borders, top and bottom together
    int32_t maxClientWidth = 0;
    int32_t maxClientHeight = 0;
    friend bool operator==(const ScreenMetrics&, const ScreenMetrics&) = default;
};

}  // namespace ravinel
