#include "tests/core/process/area_reference.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

namespace ravinel::testing {
namespace {

using Line = std::vector<uint32_t>;

struct Pair {
    int64_t index;
    int64_t frac;
};

Pair split(long double e) {
    const auto index = static_cast<int64_t>(e);
    const auto frac = static_cast<int64_t>((e - static_cast<long double>(index)) * 32768.0L + 0.5L);
    return {index, frac};
}

// lastDirect: the horizontal rule (last table entry set to (S - 1, 32768) directly);
// otherwise the vertical rule (any Index above S - 1 replaced).
Line reduceLine(const Line& p, int64_t d, bool lastDirect) {
    const auto s = static_cast<int64_t>(p.size());
    const auto k = static_cast<uint64_t>(static_cast<long double>(d << 17) / s + 0.5L);
    const auto b = static_cast<uint64_t>(static_cast<long double>(s << 15) / d + 0.5L) >> 1;
    std::vector<Pair> pairs(static_cast<size_t>(d));
    for (int64_t i = 0; i < d; ++i) {
        pairs[i] = split(static_cast<long double>((i + 1) * s) / d);
        if (!lastDirect && pairs[i].index > s - 1) {
            pairs[i] = {s - 1, 32768};
        }
    }
    if (lastDirect) {
        pairs[d - 1] = {s - 1, 32768};
    }
    // Per destination pixel: the weighted sum without bias, and the weight.
    std::vector<uint64_t> sums(d);
    std::vector<uint64_t> weights(d);
    for (int64_t i = 0; i < d; ++i) {
        const int64_t s0 = i == 0 ? 0 : pairs[i - 1].index;
        const uint64_t w0 = 32768 - (i == 0 ? 0 : pairs[i - 1].frac);
        const int64_t s1 = pairs[i].index;
        if (s0 == s1) {
            sums[i] = w0 * p[s0];
            weights[i] = w0;
            continue;
        }
        const uint64_t w1 = pairs[i].frac;
        uint64_t between = 0;
        for (int64_t j = s0 + 1; j < s1; ++j) {
            between += p[j];
        }
        sums[i] = between * 32768 + w0 * p[s0] + w1 * p[s1];
        weights[i] = w0 + w1 + 32768 * static_cast<uint64_t>(std::max<int64_t>(s1 - s0 - 1, 0));
    }
    // Where 32-bit sums could overflow, the exact rounded mean of the weighted area.
    const uint64_t heaviest = *std::max_element(weights.begin(), weights.end());
    const bool wide = b + 255 * heaviest > std::numeric_limits<uint32_t>::max();
    Line out(d);
    for (int64_t i = 0; i < d; ++i) {
        if (wide) {
            out[i] = static_cast<uint32_t>((2 * sums[i] + weights[i]) / (2 * weights[i]));
        } else {
            const auto total = static_cast<uint32_t>(sums[i] + b);
            out[i] = static_cast<uint32_t>(std::min<uint64_t>((total * k) >> 32, 255));
        }
    }
    return out;
}

Line expandLine(const Line& p, int64_t d) {
    const auto s = static_cast<int64_t>(p.size());
    Line out(d, 0);
    uint32_t carry = 0;
    Pair previous{0, 0};
    for (int64_t i = 0; i < s; ++i) {
        const Pair pair = split(static_cast<long double>((i + 1) * d) / s);
        const auto w0 = static_cast<uint32_t>(32768 - previous.frac);
        out[previous.index] = (carry + p[i] * w0 + 16384) >> 15;
        for (int64_t j = previous.index + 1; j < pair.index; ++j) {
            out[j] = p[i];
        }
        carry = p[i] * static_cast<uint32_t>(pair.frac);
        previous = pair;
    }
    return out;
}

using LinePass = std::function<Line(const Line&, int64_t, bool)>;

Picture horizontal(const Picture& src, int width, bool enlarge, const LinePass& pass) {
    Picture out(width, src.height);
    if (enlarge ? width < src.width : width > src.width) {
        return out;
    }
    for (int y = 0; y < src.height; ++y) {
        for (int c = 0; c < 3; ++c) {
            Line line(src.width);
            for (int x = 0; x < src.width; ++x) {
                line[x] = src.at(x, y, c);
            }
            const Line result = pass(line, width, true);
            for (int x = 0; x < width; ++x) {
                out.at(x, y, c) = static_cast<uint8_t>(result[x]);
            }
        }
    }
    return out;
}

Picture vertical(const Picture& src, int height, bool enlarge, const LinePass& pass) {
    Picture out(src.width, height);
    if (enlarge ? height < src.height : height > src.height) {
        return out;
    }
    for (int x = 0; x < src.width; ++x) {
        for (int c = 0; c < 3; ++c) {
            Line line(src.height);
            for (int y = 0; y < src.height; ++y) {
                line[y] = src.at(x, y, c);
            }
            const Line result = pass(line, height, false);
            for (int y = 0; y < height; ++y) {
                out.at(x, y, c) = static_cast<uint8_t>(result[y]);
            }
        }
    }
    return out;
}

}  // namespace

Picture referenceAreaReduce(const Picture& src, int height, int width) {
    return vertical(horizontal(src, width, false, reduceLine), height, false, reduceLine);
}

Picture referenceAreaExpand(const Picture& src, int height, int width) {
    const LinePass expand = [](const Line& p, int64_t d, bool) { return expandLine(p, d); };
    return vertical(horizontal(src, width, true, expand), height, true, expand);
}

}  // namespace ravinel::testing
