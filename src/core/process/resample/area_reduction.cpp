#include "process/resample/area_reduction.h"

#include <algorithm>
#include <limits>

#include "process/resample/area_boundary.h"

namespace ravinel {

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

}  // namespace ravinel
