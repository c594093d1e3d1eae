#include <cstdint>
#include <vector>

#include "platform/vector_path.h"
#include "process/dib_rows.h"
#include "process/filter/brightness_mapping.h"
#include "process/filter/brightness_range.h"
#include "process/filter/brightness_rows.h"
#include "process/filter/filter_bands.h"
#include "process/filter/filter_progress.h"
#include "process/filter/filter_source.h"
#include "process/filter/image_filters.h"

namespace ravinel {
namespace {

using ChannelMapping = uint8_t (*)(float yn, int d);
using VectorPixels = int (*)(const uint8_t*, uint8_t*, int, const BrightnessRange&,
                             ChannelRounding);

template <ChannelMapping kChannel>
void mapPixels(const uint8_t* src, uint8_t* dst, int begin, int end, const BrightnessRange& range) {
    const uint8_t* p = src + 3 * static_cast<size_t>(begin);
    uint8_t* q = dst + 3 * static_cast<size_t>(begin);
    for (int x = begin; x < end; ++x, p += 3, q += 3) {
        const float yn = normalizedLuminance(luminance(p[0], p[1], p[2]), range.lo, range.scale);
        const ColourDifferences d = colourDifferences(p[0], p[1], p[2]);
        q[0] = kChannel(yn, d.b);
        q[1] = kChannel(yn, d.g);
        q[2] = kChannel(yn, d.r);
    }
}

// The vector routine of the level in use, or none for the portable loop.
VectorPixels vectorPixels() {
#if defined(__x86_64__)
    return vectorPath(normalizePixelsSse2, normalizePixelsAvx2);
#else
    return nullptr;
#endif
}

template <ChannelMapping kChannel, ChannelRounding kRounding>
void normalize(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress) {
    const NkDib source = filterSource(src);
    const std::optional<BrightnessRange> range = prepareNormalization(dest, source, progress);
    if (!range) {
        return;
    }
    const std::vector<const uint8_t*> in = constRows(source);
    const std::vector<uint8_t*> out = rows(dest);
    const int width = source.width();
    const VectorPixels vector = vectorPixels();
    forEachFilterBand(source.height(), width, progress, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const uint8_t* p = in[static_cast<size_t>(y)];
            uint8_t* q = out[static_cast<size_t>(y)];
            // The vector routines read the pixel before the ones they map.
            mapPixels<kChannel>(p, q, 0, 1, *range);
            const int done = vector ? 1 + vector(p + 3, q + 3, width - 1, *range, kRounding) : 1;
            mapPixels<kChannel>(p, q, done, width, *range);
        }
    });
}

}  // namespace

void normalizeBrightness(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress) {
    normalize<normalizedChannel, ChannelRounding::plain>(dest, src, progress);
}

void normalizeBrightness3DNow(NkDib& dest, const NkDib& src, const ProgressStageEvent& progress) {
    normalize<normalizedChannel3DNow, ChannelRounding::packed>(dest, src, progress);
}

}  // namespace ravinel
