#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "process/dib_rows.h"
#include "process/resample/g_resize.h"
#include "process/resample/stretch_target.h"

namespace ravinel {
namespace {

// Along an axis of source length S and destination length D, measured in units of
// 1 / (S x D) of the picture's extent: destination pixel d covers [d x S, (d + 1) x S) and
// source pixel s covers [s x D, (s + 1) x D). A destination pixel overlaps first with
// firstWeight, the pixels strictly between wholly (weight D) and last with lastWeight; the
// weights add up to S.
struct BoxSpan {
    int32_t first = 0;
    int32_t last = 0;
    uint64_t firstWeight = 0;
    uint64_t lastWeight = 0;  // 0 when first == last
};

std::vector<BoxSpan> boxSpans(int32_t sourceLength, int32_t destLength) {
    const auto s = static_cast<uint64_t>(sourceLength);
    const auto d = static_cast<uint64_t>(destLength);
    std::vector<BoxSpan> spans(d);
    for (uint64_t i = 0; i < d; ++i) {
        const uint64_t begin = i * s;
        const uint64_t end = begin + s;
        BoxSpan& span = spans[i];
        const uint64_t first = begin / d;
        const uint64_t last = (end - 1) / d;
        span.first = static_cast<int32_t>(first);
        span.last = static_cast<int32_t>(last);
        if (first == last) {
            span.firstWeight = s;
        } else {
            span.firstWeight = (first + 1) * d - begin;
            span.lastWeight = end - last * d;
        }
    }
    return spans;
}

// Weighs one row (bytes or column sums of several rows) horizontally: out gets, per
// destination column and channel, the overlap-weighted sum of the source values.
template <typename Value>
void weighRow(const Value* in, uint64_t* out, std::span<const BoxSpan> spans,
              uint64_t wholeWeight) {
    for (const BoxSpan& span : spans) {
        const Value* first = in + 3 * static_cast<size_t>(span.first);
        const Value* last = in + 3 * static_cast<size_t>(span.last);
        uint64_t between[3] = {0, 0, 0};
        for (const Value* p = first + 3; p < last; p += 3) {
            between[0] += p[0];
            between[1] += p[1];
            between[2] += p[2];
        }
        for (int c = 0; c < 3; ++c) {
            out[c] =
                span.firstWeight * first[c] + span.lastWeight * last[c] + wholeWeight * between[c];
        }
        out += 3;
    }
}

// Rounds sum / area half up for one fixed area. A floating-point estimate of the quotient
// is at most one off (the quotient is below 256) and one integer check each way makes it
// exact; far cheaper than a 64-bit division per channel.
class RoundedMean {
  public:
    explicit RoundedMean(uint64_t area) : divisor_(2 * area), inverse_(1.0 / (2.0 * area)) {}

    uint8_t operator()(uint64_t sum) const {
        const uint64_t numerator = 2 * sum + divisor_ / 2;
        auto quotient = static_cast<uint64_t>(static_cast<double>(numerator) * inverse_);
        if (quotient * divisor_ > numerator) {
            --quotient;
        } else if ((quotient + 1) * divisor_ <= numerator) {
            ++quotient;
        }
        return static_cast<uint8_t>(quotient);
    }

  private:
    uint64_t divisor_;
    double inverse_;
};

// The weighed sums of single source rows, for the last two rows asked. Neighbouring
// destination rows share at most one source row, so no row is weighed twice.
class WeighedRows {
  public:
    WeighedRows(std::span<const uint8_t* const> rows, std::span<const BoxSpan> columns,
                uint64_t wholeWeight)
        : rows_(rows), columns_(columns), wholeWeight_(wholeWeight) {
        for (std::vector<uint64_t>& slot : slots_) {
            slot.resize(3 * columns.size());
        }
    }

    // Valid until the second call after this one.
    const uint64_t* sums(int32_t row) {
        for (int k = 0; k < 2; ++k) {
            if (slotRows_[k] == row) {
                recent_ = k;
                return slots_[k].data();
            }
        }
        recent_ = 1 - recent_;
        weighRow(rows_[static_cast<size_t>(row)], slots_[recent_].data(), columns_, wholeWeight_);
        slotRows_[recent_] = row;
        return slots_[recent_].data();
    }

  private:
    std::span<const uint8_t* const> rows_;
    std::span<const BoxSpan> columns_;
    uint64_t wholeWeight_;
    std::vector<uint64_t> slots_[2];
    int32_t slotRows_[2] = {-1, -1};
    int recent_ = 0;
};

}  // namespace

// Separable, but with no rounding between the axes: the horizontal sums stay exact and
// only the final mean over the whole area is rounded, half up.
void halftoneResize(NkDib& dest, NkDib& src, uint16_t height, uint16_t width) {
    const NkDib source = prepareStretch(dest, src, height, width);
    const std::vector<BoxSpan> columns = boxSpans(source.width(), width);
    const std::vector<BoxSpan> lines = boxSpans(source.height(), height);
    const auto columnWhole = static_cast<uint64_t>(width);
    const auto lineWhole = static_cast<uint64_t>(height);
    const RoundedMean mean(static_cast<uint64_t>(source.width()) *
                           static_cast<uint64_t>(source.height()));

    const std::vector<const uint8_t*> in = constRows(source);
    const std::vector<uint8_t*> out = rows(dest);
    const size_t sourceBytes = 3 * static_cast<size_t>(source.width());
    const size_t destBytes = 3 * static_cast<size_t>(width);
    WeighedRows weighed(in, columns, columnWhole);
    std::vector<uint64_t> betweenRows(sourceBytes);
    std::vector<uint64_t> betweenSums(destBytes);

    for (size_t y = 0; y < lines.size(); ++y) {
        const BoxSpan& line = lines[y];
        const uint64_t* first = weighed.sums(line.first);
        const uint64_t* last = weighed.sums(line.last);
        const bool hasBetween = line.last - line.first > 1;
        if (hasBetween) {
            // The rows wholly inside share one weight: add them up first, weigh once.
            std::fill(betweenRows.begin(), betweenRows.end(), 0);
            for (int32_t r = line.first + 1; r < line.last; ++r) {
                const uint8_t* row = in[static_cast<size_t>(r)];
                for (size_t i = 0; i < sourceBytes; ++i) {
                    betweenRows[i] += row[i];
                }
            }
            weighRow(betweenRows.data(), betweenSums.data(), columns, columnWhole);
        }
        uint8_t* dst = out[y];
        for (size_t i = 0; i < destBytes; ++i) {
            uint64_t sum = line.firstWeight * first[i] + line.lastWeight * last[i];
            if (hasBetween) {
                sum += lineWhole * betweenSums[i];
            }
            dst[i] = mean(sum);
        }
    }
}

}  // namespace ravinel
