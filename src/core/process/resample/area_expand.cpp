#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "platform/parallel_bands.h"
#include "platform/simd_level.h"
#include "process/dib_rows.h"
#include "process/resample/area_bands.h"
#include "process/resample/area_boundary.h"
#include "process/resample/area_kernels.h"
#include "process/resample/area_pass_check.h"
#include "process/resample/area_passes.h"

namespace ravinel {
namespace {

constexpr uint32_t kHalfUnit = kAreaUnit / 2;

// Boundary of source pixel s: E = (s + 1) x D / S. The product is 64 bits wide: in 32 bits
// it overflows once S x D reaches 2^31.
AreaBoundary expansionBoundary(int32_t s, int32_t sourceLength, int32_t destLength) {
    return areaBoundary(static_cast<uint64_t>(s + 1) * static_cast<uint64_t>(destLength),
                        static_cast<uint64_t>(sourceLength));
}

std::vector<AreaBoundary> expansionBoundaries(int32_t sourceLength, int32_t destLength) {
    std::vector<AreaBoundary> boundaries(static_cast<size_t>(sourceLength));
    for (int32_t s = 0; s < sourceLength; ++s) {
        boundaries[static_cast<size_t>(s)] = expansionBoundary(s, sourceLength, destLength);
    }
    return boundaries;
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

#if defined(__x86_64__)

// What expandRow does, said per destination pixel: the pixel a source pixel shares with
// its predecessor mixes the two, the pixels wholly inside it copy it.
std::vector<ExpansionTap> expansionTaps(std::span<const AreaBoundary> boundaries,
                                        int32_t destLength) {
    std::vector<ExpansionTap> taps(static_cast<size_t>(destLength));
    AreaBoundary previous;
    for (int32_t s = 0; s < static_cast<int32_t>(boundaries.size()); ++s) {
        ExpansionTap& shared = taps[static_cast<size_t>(previous.index)];
        if (s == 0) {
            shared = {s, s, 0};
        } else if (previous.frac == static_cast<int32_t>(kAreaUnit)) {
            shared = {s - 1, s - 1, 0};
        } else {
            shared = {s - 1, s, previous.frac};
        }
        const AreaBoundary& boundary = boundaries[static_cast<size_t>(s)];
        for (int32_t d = previous.index + 1; d < boundary.index; ++d) {
            taps[static_cast<size_t>(d)] = {s, s, 0};
        }
        previous = boundary;
    }
    return taps;
}

#endif

// Each destination row mixes at most two neighbouring source rows, so every source row's
// work needs only itself and its predecessor. Columns from begin on.
void blendRowPortable(const uint8_t* carried, const uint8_t* row, uint8_t* dst, size_t begin,
                      size_t end, uint32_t frac) {
    const uint32_t weight = kAreaUnit - frac;
    for (size_t i = begin; i < end; ++i) {
        dst[i] = static_cast<uint8_t>((carried[i] * frac + row[i] * weight + kHalfUnit) >> 15);
    }
}

void blendRow(const uint8_t* carried, const uint8_t* row, uint8_t* dst, size_t rowBytes,
              uint32_t frac) {
    size_t done = 0;
#if defined(__x86_64__)
    if (frac < kAreaUnit && simdLevel() == SimdLevel::avx2) {
        done = blendRowsAvx2(carried, row, dst, rowBytes, frac);
    } else if (frac < kAreaUnit && simdLevel() == SimdLevel::sse2) {
        done = blendRowsSse2(carried, row, dst, rowBytes, frac);
    }
#endif
    blendRowPortable(carried, row, dst, done, rowBytes, frac);
}

}  // namespace

// Rows are independent: bands of rows go to the threads.
void areaExpandH(NkDib& dest, const NkDib& src, uint16_t width) {
    checkAreaPass(dest, src, width, src.height(), "areaExpandH");
    const int32_t sourceWidth = src.width();
    if (width < sourceWidth) {
        return;
    }
    const std::vector<AreaBoundary> boundaries = expansionBoundaries(sourceWidth, width);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t minBand = areaMinBand(3 * static_cast<size_t>(width));
#if defined(__x86_64__)
    // The vector kernels load 16 source bytes at a time.
    if (simdLevel() != SimdLevel::portable && sourceWidth >= 6) {
        const std::vector<ExpansionTap> taps = expansionTaps(boundaries, width);
        const bool avx2 = simdLevel() == SimdLevel::avx2;
        forEachBand(in.size(), minBand, [&](size_t begin, size_t end) {
            const std::span<const uint8_t* const> band(in.data() + begin, end - begin);
            const std::span<uint8_t* const> bandOut(out.data() + begin, end - begin);
            if (avx2) {
                expandRowsHAvx2(band, bandOut, sourceWidth, taps);
            } else {
                expandRowsHSse2(band, bandOut, sourceWidth, taps);
            }
        });
        return;
    }
#endif
    forEachBand(in.size(), minBand, [&](size_t begin, size_t end) {
        for (size_t y = begin; y < end; ++y) {
            expandRow(in[y], out[y], boundaries);
        }
    });
}

// Source rows go to the threads in bands; each writes the destination rows that start
// inside it, so no two bands write the same row.
void areaExpandV(NkDib& dest, const NkDib& src, uint16_t height) {
    checkAreaPass(dest, src, src.width(), height, "areaExpandV");
    const int32_t sourceHeight = src.height();
    if (height < sourceHeight) {
        return;
    }
    const std::vector<AreaBoundary> boundaries = expansionBoundaries(sourceHeight, height);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t rowBytes = 3 * static_cast<size_t>(src.width());
    const size_t destRowsPerRow = out.size() / in.size();
    forEachBand(in.size(), areaMinBand(rowBytes * destRowsPerRow), [&](size_t begin, size_t end) {
        for (size_t s = begin; s < end; ++s) {
            const AreaBoundary previous = s == 0 ? AreaBoundary{} : boundaries[s - 1];
            const uint8_t* carried = s == 0 ? in[s] : in[s - 1];
            blendRow(carried, in[s], out[static_cast<size_t>(previous.index)], rowBytes,
                     static_cast<uint32_t>(previous.frac));
            for (int32_t d = previous.index + 1; d < boundaries[s].index; ++d) {
                std::memcpy(out[static_cast<size_t>(d)], in[s], rowBytes);
            }
        }
    });
}

}  // namespace ravinel
