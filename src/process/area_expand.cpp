#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "process/area_boundary.h"
#include "process/area_pass_check.h"
#include "process/area_passes.h"
#include "process/dib_rows.h"

namespace ravinel {
namespace {

constexpr uint32_t kHalfUnit = kAreaUnit / 2;

// Boundary of source pixel s: E = (s + 1) x D / S. The product is 64 bits wide: in 32 bits
// it overflows once S x D reaches 2^31.
AreaBoundary expansionBoundary(int32_t s, int32_t sourceLength, int32_t destLength) {
    return areaBoundary(static_cast<uint64_t>(s + 1) * static_cast<uint64_t>(destLength),
                        static_cast<uint64_t>(sourceLength));
}

// Source pixel s finishes the destination pixel it shares with its predecessor (mixing in
// the carried share), fills the pixels that lie wholly inside it, and carries its share of
// the pixel it straddles at its end.
void expandRow(const uint8_t* src, uint8_t* dst, std::span<const AreaBoundary> boundaries) {
    AreaBoundary previous;
    uint32_t carry[3] = {0, 0, 0};
    for (size_t s = 0; s < boundaries.size(); ++s) {
        const uint8_t* p = src + 3 * s;
        const AreaBoundary& boundary = boundaries[s];
        const uint32_t weight = kAreaUnit - static_cast<uint32_t>(previous.frac);
        uint8_t* q = dst + 3 * static_cast<size_t>(previous.index);
        for (int c = 0; c < 3; ++c) {
            q[c] = static_cast<uint8_t>((carry[c] + p[c] * weight + kHalfUnit) >> 15);
            carry[c] = p[c] * static_cast<uint32_t>(boundary.frac);
        }
        for (int32_t d = previous.index + 1; d < boundary.index; ++d) {
            q += 3;
            q[0] = p[0];
            q[1] = p[1];
            q[2] = p[2];
        }
        previous = boundary;
    }
}

}  // namespace

void areaExpandH(NkDib& dest, const NkDib& src, uint16_t width) {
    checkAreaPass(dest, src, width, src.height(), "areaExpandH");
    const int32_t sourceWidth = src.width();
    if (width < sourceWidth) {
        return;
    }
    std::vector<AreaBoundary> boundaries(static_cast<size_t>(sourceWidth));
    for (int32_t s = 0; s < sourceWidth; ++s) {
        boundaries[static_cast<size_t>(s)] = expansionBoundary(s, sourceWidth, width);
    }
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    for (size_t y = 0; y < in.size(); ++y) {
        expandRow(in[y], out[y], boundaries);
    }
}

// Walks whole rows with one carry per column and channel; each column sees exactly the
// steps of expandRow.
void areaExpandV(NkDib& dest, const NkDib& src, uint16_t height) {
    checkAreaPass(dest, src, src.width(), height, "areaExpandV");
    const int32_t sourceHeight = src.height();
    if (height < sourceHeight) {
        return;
    }
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t rowBytes = 3 * static_cast<size_t>(src.width());
    std::vector<uint32_t> carry(rowBytes, 0);
    AreaBoundary previous;
    for (int32_t s = 0; s < sourceHeight; ++s) {
        const uint8_t* row = in[static_cast<size_t>(s)];
        const AreaBoundary boundary = expansionBoundary(s, sourceHeight, height);
        const uint32_t weight = kAreaUnit - static_cast<uint32_t>(previous.frac);
        const auto frac = static_cast<uint32_t>(boundary.frac);
        uint8_t* shared = out[static_cast<size_t>(previous.index)];
        for (size_t i = 0; i < rowBytes; ++i) {
            shared[i] = static_cast<uint8_t>((carry[i] + row[i] * weight + kHalfUnit) >> 15);
            carry[i] = row[i] * frac;
        }
        for (int32_t d = previous.index + 1; d < boundary.index; ++d) {
            std::memcpy(out[static_cast<size_t>(d)], row, rowBytes);
        }
        previous = boundary;
    }
}

}  // namespace ravinel
