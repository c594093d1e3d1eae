#include "browse/place_image.h"

namespace ravinel {

ImageRect placeImage(int32_t w, int32_t h, int32_t imageSize, int32_t panelW, int32_t imageTop) {
    const int32_t s = imageSize;
    int32_t left = 0;
    int32_t top = 0;
    if (w < s && h < s) {
        left = (s - w) / 2;
        top = (s - h) / 2;
    } else if (w < h) {
        left = (s - w) / 2;
    } else if (w > h) {
        top = (s - h) / 2;
    }
    left += (panelW - s) / 2;
    top += imageTop;
    return {left, top, left + w, top + h};
}

}  // namespace ravinel
