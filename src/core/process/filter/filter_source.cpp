#include "process/filter/filter_source.h"

namespace ravinel {

NkDib filterSource(const NkDib& src) {
    NkDib copy = src;
    // Reading a narrower or run-length coded store as 24-bit would run past its rows.
    copy.setPixelFormat(NkDibPixelFormat::pf24Bit);
    return copy;
}

void sizeLike(NkDib& dest, const NkDib& src) {
    dest.setBitCount(24);
    dest.setHeight(src.height());
    dest.setWidth(src.width());
}

}  // namespace ravinel
