#include <cstdint>
#include <vector>

#include "process/brightness_mapping.h"
#include "process/brightness_range.h"
#include "process/dib_rows.h"
#include "process/filter_progress.h"
#include "process/filter_source.h"
#include "process/image_filters.h"

namespace ravinel {
namespace {

using ChannelMapping = uint8_t (*)(float yn, int d);

template <ChannelMapping kChannel>
void normalize(NkDib& dest, const NkDib& src, const ProgressTextEvent& progress) {
    const NkDib source = filterSource(src);
    const std::optional<BrightnessRange> range = prepareNormalization(dest, source, progress);
    if (!range) {
        return;
    }
    const std::vector<uint8_t*> out = rows(dest);
    for (int y = 0; y < source.height(); ++y) {
        reportRow(progress, y);
        const uint8_t* p = source.constScanLine(y);
        uint8_t* q = out[static_cast<size_t>(y)];
        for (int x = 0; x < source.width(); ++x, p += 3, q += 3) {
            const float yn =
                normalizedLuminance(luminance(p[0], p[1], p[2]), range->lo, range->scale);
            const ColourDifferences d = colourDifferences(p[0], p[1], p[2]);
            q[0] = kChannel(yn, d.b);
            q[1] = kChannel(yn, d.g);
            q[2] = kChannel(yn, d.r);
        }
    }
}

}  // namespace

void normalizeBrightness(NkDib& dest, const NkDib& src, const ProgressTextEvent& progress) {
    normalize<normalizedChannel>(dest, src, progress);
}

void normalizeBrightness3DNow(NkDib& dest, const NkDib& src, const ProgressTextEvent& progress) {
    normalize<normalizedChannel3DNow>(dest, src, progress);
}

}  // namespace ravinel
