#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ravinel {

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
std::vector<ReductionSpan> reductionSpans(int32_t sourceLength, int32_t destLength);

// How the gathered sums become channel values. The fixed-point way adds the bias B to the
// 32-bit sum and keeps the upper 32 bits of sum x K. Where one destination pixel could
// gather a sum beyond 32 bits (more than about 513 source pixels), and where K has too
// few bits to keep the mean right anyway, the sums are 64 bits wide and the value is the
// exact mean of the weighted area, rounded half up.
struct ReductionScale {
    uint32_t bias = 0;
    uint64_t factor = 0;  // at most 2^17, as the destination is never longer
    bool wide = false;
};

ReductionScale reductionScale(int32_t sourceLength, int32_t destLength,
                              std::span<const ReductionSpan> spans);

}  // namespace ravinel
