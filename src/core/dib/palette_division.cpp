#include "dib/palette_division.h"

#include <algorithm>
#include <cmath>

namespace ravinel {
namespace {

uint64_t weightOf(const PixelRecord&) {
    return 1;
}
uint64_t weightOf(const WeightedRecord& record) {
    return record.weight;
}

template <typename Record>
class Divider {
  public:
    Divider(std::span<Record> records, int depth, const ConversionProgress& progress)
        : records_(records), depth_(depth), progress_(progress) {}

    PaletteTree run() {
        divide(0, records_.size(), 0);
        return std::move(tree_);
    }

  private:
    // Makes the node of records [first, last) at depth d and returns its number.
    uint16_t divide(size_t first, size_t last, int d) {
        const auto node = static_cast<uint16_t>(tree_.nodes.size());
        tree_.nodes.emplace_back();
        if (first == last) {
            // No colour ever walks into an empty range; it only counts its share of
            // the steps, as if it were divided down to the full depth.
            for (int i = 0; i < 1 << (depth_ - d); ++i) {
                step();
            }
            return node;
        }
        // Exact integer sums; the means and variances then in extended precision.
        uint64_t weight = 0;
        std::array<uint64_t, 3> sums{};
        std::array<uint64_t, 3> squares{};
        for (size_t i = first; i < last; ++i) {
            const Record& record = records_[i];
            const uint64_t w = weightOf(record);
            weight += w;
            for (size_t c = 0; c < 3; ++c) {
                const uint64_t v = record.rgb[c];
                sums[c] += w * v;
                squares[c] += w * v * v;
            }
        }
        std::array<long double, 3> mean;
        std::array<long double, 3> variance;
        for (size_t c = 0; c < 3; ++c) {
            mean[c] = static_cast<long double>(sums[c]) / static_cast<long double>(weight);
            variance[c] = static_cast<long double>(squares[c]) / static_cast<long double>(weight) -
                          mean[c] * mean[c];
        }
        if (d == depth_) {
            // nearbyint rounds halves to even in the default rounding mode.
            auto channel = [&](size_t c) { return static_cast<uint8_t>(std::nearbyint(mean[c])); };
            tree_.nodes[node].paletteIndex = static_cast<uint8_t>(tree_.palette.size());
            tree_.palette.push_back(RgbQuad{channel(2), channel(1), channel(0), 0});
            step();
            return node;
        }
        const auto [vr, vg, vb] = variance;
        const int8_t c = (3 * vr >= 4 * vg && 3 * vr >= 2 * vb)   ? 0
                         : (4 * vg >= 3 * vr && 4 * vg >= 2 * vb) ? 1
                                                                  : 2;
        // The values are integers: at most the mean is at most its integer part.
        const auto threshold = static_cast<uint8_t>(std::floor(mean[static_cast<size_t>(c)]));
        const auto begin = records_.begin();
        const auto middle = std::partition(
            begin + static_cast<ptrdiff_t>(first), begin + static_cast<ptrdiff_t>(last),
            [&](const Record& r) { return r.rgb[static_cast<size_t>(c)] <= threshold; });
        const auto split = static_cast<size_t>(middle - begin);
        const uint16_t lower = divide(first, split, d + 1);
        const uint16_t upper = divide(split, last, d + 1);
        tree_.nodes[node] = PaletteTree::Node{c, threshold, 0, lower, upper};
        return node;
    }

    void step() {
        ++position_;
        if (progress_) {
            progress_(position_);
        }
    }

    std::span<Record> records_;
    int depth_;
    const ConversionProgress& progress_;
    int position_ = 0;
    PaletteTree tree_;
};

}  // namespace

PaletteTree dividePalette(std::span<PixelRecord> records, int depth,
                          const ConversionProgress& progress) {
    return Divider<PixelRecord>(records, depth, progress).run();
}

PaletteTree dividePalette(std::span<WeightedRecord> records, int depth,
                          const ConversionProgress& progress) {
    return Divider<WeightedRecord>(records, depth, progress).run();
}

}  // namespace ravinel
