#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <type_traits>
#include <vector>

#include "process/area_boundary.h"
#include "process/area_pass_check.h"
#include "process/area_passes.h"
#include "process/dib_rows.h"

namespace ravinel {
namespace {

// The source pixels that one destination pixel gathers along the axis: first with
// firstWeight, every pixel strictly between with kAreaUnit, last with lastWeight.
struct ReductionSpan {
    int32_t first = 0;
    int32_t last = 0;
    uint32_t firstWeight = 0;
    uint32_t lastWeight = 0;  // 0 when first == last: that pixel is counted once
    uint64_t weight = 0;      // the sum of all the weights
};

// Boundary d is E = (d + 1) x S / D; the last one is pinned to (S - 1, 32768).
std::vector<ReductionSpan> reductionSpans(int32_t sourceLength, int32_t destLength) {
    std::vector<ReductionSpan> spans(static_cast<size_t>(destLength));
    AreaBoundary previous;
    for (int32_t d = 0; d < destLength; ++d) {
        AreaBoundary boundary =
            areaBoundary(static_cast<uint64_t>(d + 1) * static_cast<uint64_t>(sourceLength),
                         static_cast<uint64_t>(destLength));
        if (boundary.index > sourceLength - 1) {
            boundary = {sourceLength - 1, static_cast<int32_t>(kAreaUnit)};
        }
        ReductionSpan& span = spans[static_cast<size_t>(d)];
        span.first = previous.index;
        span.last = boundary.index;
        span.firstWeight = kAreaUnit - static_cast<uint32_t>(previous.frac);
        span.lastWeight = span.last == span.first ? 0 : static_cast<uint32_t>(boundary.frac);
        const int64_t between = std::max(span.last - span.first - 1, 0);
        span.weight =
            span.firstWeight + span.lastWeight + static_cast<uint64_t>(between) * kAreaUnit;
        previous = boundary;
    }
    return spans;
}

// How the gathered sums become channel values. The fixed-point way adds the bias B to the
// 32-bit sum and keeps the upper 32 bits of sum x K. Where one destination pixel could
// gather a sum beyond 32 bits (more than about 513 source pixels), and where K has too
// few bits to keep the mean right anyway, the sums are 64 bits wide and the value is the
// exact mean of the weighted area, rounded half up.
struct ReductionScale {
    uint32_t bias = 0;
    uint64_t factor = 0;
    bool wide = false;
};

ReductionScale reductionScale(int32_t sourceLength, int32_t destLength,
                              std::span<const ReductionSpan> spans) {
    ReductionScale scale;
    const auto s = static_cast<uint64_t>(sourceLength);
    const auto d = static_cast<uint64_t>(destLength);
    scale.bias = static_cast<uint32_t>(roundedQuotient(s << 15, d) >> 1);
    scale.factor = roundedQuotient(d << 17, s);
    uint64_t heaviest = 0;
    for (const ReductionSpan& span : spans) {
        heaviest = std::max(heaviest, span.weight);
    }
    scale.wide = scale.bias + 255 * heaviest > std::numeric_limits<uint32_t>::max();
    return scale;
}

inline uint8_t scaledValue(uint32_t total, uint64_t factor) {
    return static_cast<uint8_t>(std::min<uint64_t>((total * factor) >> 32, 255));
}

inline uint8_t exactMean(uint64_t sum, uint64_t weight) {
    return static_cast<uint8_t>((2 * sum + weight) / (2 * weight));
}

template <bool kWide>
using ReductionSum = std::conditional_t<kWide, uint64_t, uint32_t>;

template <bool kWide>
void reduceRow(const uint8_t* src, uint8_t* dst, std::span<const ReductionSpan> spans,
               const ReductionScale& scale) {
    using Sum = ReductionSum<kWide>;
    for (const ReductionSpan& span : spans) {
        const uint8_t* first = src + 3 * static_cast<size_t>(span.first);
        const uint8_t* last = src + 3 * static_cast<size_t>(span.last);
        Sum between[3] = {0, 0, 0};
        for (const uint8_t* p = first + 3; p < last; p += 3) {
            between[0] += p[0];
            between[1] += p[1];
            between[2] += p[2];
        }
        for (int c = 0; c < 3; ++c) {
            const Sum total = Sum{span.firstWeight} * first[c] + Sum{span.lastWeight} * last[c] +
                              (between[c] << 15);
            if constexpr (kWide) {
                dst[c] = exactMean(total, span.weight);
            } else {
                dst[c] = scaledValue(total + scale.bias, scale.factor);
            }
        }
        dst += 3;
    }
}

// Walks whole rows: each destination row accumulates its source rows into one sum per
// column and channel. The sums are exact, so this gives what a walk down each column does.
template <bool kWide>
void reduceRows(std::span<const uint8_t* const> in, std::span<uint8_t* const> out, size_t rowBytes,
                std::span<const ReductionSpan> spans, const ReductionScale& scale) {
    using Sum = ReductionSum<kWide>;
    std::vector<Sum> sums(rowBytes);
    const Sum bias = kWide ? 0 : scale.bias;
    for (size_t d = 0; d < spans.size(); ++d) {
        const ReductionSpan& span = spans[d];
        const uint8_t* first = in[static_cast<size_t>(span.first)];
        const uint8_t* last = in[static_cast<size_t>(span.last)];
        for (size_t i = 0; i < rowBytes; ++i) {
            sums[i] = bias + Sum{span.firstWeight} * first[i] + Sum{span.lastWeight} * last[i];
        }
        for (int32_t y = span.first + 1; y < span.last; ++y) {
            const uint8_t* row = in[static_cast<size_t>(y)];
            for (size_t i = 0; i < rowBytes; ++i) {
                sums[i] += Sum{row[i]} << 15;
            }
        }
        uint8_t* dst = out[d];
        for (size_t i = 0; i < rowBytes; ++i) {
            if constexpr (kWide) {
                dst[i] = exactMean(sums[i], span.weight);
            } else {
                dst[i] = scaledValue(sums[i], scale.factor);
            }
        }
    }
}

}  // namespace

void areaReduceH(NkDib& dest, const NkDib& src, uint16_t width) {
    checkAreaPass(dest, src, width, src.height(), "areaReduceH");
    if (width > src.width()) {
        return;
    }
    const std::vector<ReductionSpan> spans = reductionSpans(src.width(), width);
    const ReductionScale scale = reductionScale(src.width(), width, spans);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    for (size_t y = 0; y < in.size(); ++y) {
        if (scale.wide) {
            reduceRow<true>(in[y], out[y], spans, scale);
        } else {
            reduceRow<false>(in[y], out[y], spans, scale);
        }
    }
}

void areaReduceV(NkDib& dest, const NkDib& src, uint16_t height) {
    checkAreaPass(dest, src, src.width(), height, "areaReduceV");
    if (height > src.height()) {
        return;
    }
    const std::vector<ReductionSpan> spans = reductionSpans(src.height(), height);
    const ReductionScale scale = reductionScale(src.height(), height, spans);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t rowBytes = 3 * static_cast<size_t>(src.width());
    if (scale.wide) {
        reduceRows<true>(in, out, rowBytes, spans, scale);
    } else {
        reduceRows<false>(in, out, rowBytes, spans, scale);
    }
}

}  // namespace ravinel
