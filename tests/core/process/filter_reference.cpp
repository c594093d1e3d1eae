#include "tests/core/process/filter_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

namespace ravinel::testing {
namespace {

// Edge pixels repeat outward.
uint8_t clampedAt(const Picture& p, int x, int y, int c) {
    return p.at(std::clamp(x, 0, p.width - 1), std::clamp(y, 0, p.height - 1), c);
}

uint8_t clampToByte(int64_t v) {
    return static_cast<uint8_t>(std::clamp<int64_t>(v, 0, 255));
}

float single(double v) {
    return static_cast<float>(v);
}

int luminanceOf(const Picture& p, int x, int y) {
    return (29 * p.at(x, y, 0) + 150 * p.at(x, y, 1) + 77 * p.at(x, y, 2)) / 256;
}

}  // namespace

Picture referenceSharpen(const Picture& src) {
    static constexpr int kKernel[3][3] = {{-1, -2, -1}, {-2, 28, -2}, {-1, -2, -1}};
    Picture out(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            for (int c = 0; c < 3; ++c) {
                int v = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        v += kKernel[dy + 1][dx + 1] * clampedAt(src, x + dx, y + dy, c);
                    }
                }
                out.at(x, y, c) = clampToByte(static_cast<int64_t>(std::floor((v + 8) / 16.0)));
            }
        }
    }
    return out;
}

std::optional<LuminanceRange> referenceRange(const Picture& src) {
    const int64_t n = int64_t{src.width} * src.height / 256;
    if (n == 0) {
        return std::nullopt;
    }
    std::vector<int64_t> count(256, 0);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            ++count[static_cast<size_t>(luminanceOf(src, x, y))];
        }
    }
    const auto atOrBelow = [&](int level) {
        int64_t sum = 0;
        for (int l = 0; l <= level; ++l) {
            sum += count[static_cast<size_t>(l)];
        }
        return sum;
    };
    const auto atOrAbove = [&](int level) {
        int64_t sum = 0;
        for (int l = level; l <= 255; ++l) {
            sum += count[static_cast<size_t>(l)];
        }
        return sum;
    };
    LuminanceRange range;
    while (atOrBelow(range.lo) <= n) {
        ++range.lo;
    }
    range.hi = 255;
    while (atOrAbove(range.hi) <= n) {
        --range.hi;
    }
    if (range.hi == range.lo) {
        return std::nullopt;
    }
    return range;
}

NormalizedPixel referenceNormalizedPixel(const Picture& src, int x, int y, LuminanceRange range) {
    const float scale = single(255.0 / (range.hi - range.lo));
    NormalizedPixel pixel;
    pixel.yn = single(static_cast<double>(luminanceOf(src, x, y) - range.lo) * scale);
    const int b = src.at(x, y, 0);
    const int g = src.at(x, y, 1);
    const int r = src.at(x, y, 2);
    pixel.d[0] = static_cast<int>(std::trunc((222 * b - 147 * g - 75 * r) / 256.0));
    pixel.d[1] = static_cast<int>(std::trunc((-29 * b + 105 * g - 76 * r) / 256.0));
    pixel.d[2] = static_cast<int>(std::trunc((-29 * b - 151 * g + 180 * r) / 256.0));
    return pixel;
}

uint8_t referencePlainChannel(float yn, int d) {
    return clampToByte(static_cast<int64_t>(std::round(static_cast<double>(yn))) + d);
}

uint8_t referencePackedChannel(float yn, int d) {
    const float sum = single(static_cast<double>(d) + yn);
    const float biased = single(static_cast<double>(sum) + 0.5);
    return clampToByte(static_cast<int64_t>(std::trunc(biased)));
}

Picture referenceNormalize(const Picture& src, Arithmetic arithmetic) {
    const std::optional<LuminanceRange> range = referenceRange(src);
    if (!range) {
        return src;
    }
    Picture out(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const NormalizedPixel pixel = referenceNormalizedPixel(src, x, y, *range);
            for (int c = 0; c < 3; ++c) {
                out.at(x, y, c) = arithmetic == Arithmetic::plain
                                      ? referencePlainChannel(pixel.yn, pixel.d[c])
                                      : referencePackedChannel(pixel.yn, pixel.d[c]);
            }
        }
    }
    return out;
}

Picture referenceConditionalAverage(const Picture& src, int threshold) {
    Picture out(src.width, src.height);
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    bool close = true;
                    for (int c = 0; c < 3; ++c) {
                        close = close && std::abs(clampedAt(src, x + dx, y + dy, c) -
                                                  src.at(x, y, c)) <= threshold;
                    }
                    if (close) {
                        for (int c = 0; c < 3; ++c) {
                            sum[c] += clampedAt(src, x + dx, y + dy, c);
                        }
                        ++count;
                    }
                }
            }
            const float q = single(1.0 / count);
            for (int c = 0; c < 3; ++c) {
                const float mean = single(static_cast<double>(sum[c]) * q);
                const auto t = static_cast<int64_t>(std::trunc(single(mean + 0.5)));
                out.at(x, y, c) = t < 0 || t > 255 ? 255 : static_cast<uint8_t>(t);
            }
        }
    }
    return out;
}

Picture referenceDither(const Picture& src) {
    static constexpr int kMask[3] = {0xF8, 0xFC, 0xF8};
    Picture out = src;
    const int w = src.width;
    // error[row][x + 1][c], x from -1 to w.
    std::vector<std::vector<std::array<int64_t, 3>>> error(
        2, std::vector<std::array<int64_t, 3>>(static_cast<size_t>(w) + 2, {0, 0, 0}));
    const auto entry = [&](int row, int x) -> std::array<int64_t, 3>& {
        return error[static_cast<size_t>(row)][static_cast<size_t>(x + 1)];
    };
    int r = 0;
    for (int y = 0; y < src.height; ++y) {
        const bool last = y == src.height - 1;
        for (int x = 0; x < w; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int p = src.at(x, y, c);
                const int64_t e = entry(r, x)[static_cast<size_t>(c)];
                int q = 0;
                if (!last) {
                    const auto low = static_cast<int16_t>(e & 0xFFFF);
                    const int64_t sum = std::clamp<int64_t>(16 * p + low, -32768, 32767);
                    const auto v = static_cast<int64_t>(std::floor(sum / 16.0));
                    q = static_cast<int>(std::clamp<int64_t>(v, 0, 255)) & kMask[c];
                } else {
                    const auto v = static_cast<int64_t>(std::trunc((e + 16.0 * p) / 16.0));
                    q = v < 0 ? 0 : v > 255 ? kMask[c] : static_cast<int>(v) & kMask[c];
                }
                out.at(x, y, c) = static_cast<uint8_t>(q);
                const int d = p - q;
                entry(r, x + 1)[static_cast<size_t>(c)] += 7 * d;
                if (!last) {
                    entry(r, x)[static_cast<size_t>(c)] = 0;
                    entry(1 - r, x - 1)[static_cast<size_t>(c)] += 3 * d;
                    entry(1 - r, x)[static_cast<size_t>(c)] += 5 * d;
                    entry(1 - r, x + 1)[static_cast<size_t>(c)] += d;
                }
            }
        }
        r = 1 - r;
    }
    return out;
}

}  // namespace ravinel::testing
