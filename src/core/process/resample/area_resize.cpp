#include "dib/nk_dib.h"
#include "process/resample/area_passes.h"
#include "process/resample/g_resize.h"

namespace ravinel {
namespace {

using AreaPass = void (*)(NkDib& dest, const NkDib& src, uint16_t size);

// Horizontal pass into a temporary picture of destination width and source height, then
// the vertical pass into dest.
void resizeByAreaPasses(NkDib& dest, NkDib& src, uint16_t height, uint16_t width,
                        AreaPass horizontal, AreaPass vertical) {
    src.setPixelFormat(NkDibPixelFormat::pf24Bit);
    const NkDib source = src;  // shares the pixels, which survive when dest is src
    dest.setBitCount(24);
    dest.setHeight(height);
    dest.setWidth(width);
    NkDib temporary;
    temporary.setBitCount(24);
    temporary.setHeight(source.height());
    temporary.setWidth(width);
    horizontal(temporary, source, width);
    vertical(dest, temporary, height);
}

}  // namespace

void areaReduce(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    resizeByAreaPasses(dest, src, height, width, areaReduceH, areaReduceV);
}

void areaExpand(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    resizeByAreaPasses(dest, src, height, width, areaExpandH, areaExpandV);
}

}  // namespace ravinel
