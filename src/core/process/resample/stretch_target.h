#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// The common start of the two stretches: src becomes 24-bit, dest a blank 24-bit picture
// of width x height. Returns src's picture, which survives when dest is src.
inline NkDib prepareStretch(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    src.setPixelFormat(NkDibPixelFormat::pf24Bit);
    NkDib source = src;
    dest.setWidth(width);
    dest.setHeight(height);
    dest.setBitCount(24);
    return source;
}

}  // namespace ravinel
