#include <algorithm>
#include <cstdint>
#include <span>
#include <type_traits>
#include <vector>

#include "platform/parallel_bands.h"
#include "platform/simd_level.h"
#include "process/dib_rows.h"
#include "process/resample/area_bands.h"
#include "process/resample/area_kernels.h"
#include "process/resample/area_pass_check.h"
#include "process/resample/area_passes.h"
#include "process/resample/area_reduction.h"

namespace ravinel {
namespace {

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

#if defined(__x86_64__)

// The leading destination pixels a vector kernel may do: it reads 4 bytes per source
// pixel and writes 4 per destination pixel, so neither the last source pixel nor the
// last destination pixel is its.
size_t vectorPixels(std::span<const ReductionSpan> spans, int32_t sourceLength) {
    size_t count = spans.empty() ? 0 : spans.size() - 1;
    while (count > 0 && spans[count - 1].last >= sourceLength - 1) {
        --count;
    }
    return count;
}

#endif

void reduceRowsH(std::span<const uint8_t* const> in, std::span<uint8_t* const> out,
                 [[maybe_unused]] int32_t sourceWidth, std::span<const ReductionSpan> spans,
                 const ReductionScale& scale) {
    size_t done = 0;
#if defined(__x86_64__)
    if (!scale.wide && simdLevel() != SimdLevel::portable) {
        done = vectorPixels(spans, sourceWidth);
        if (simdLevel() == SimdLevel::avx2) {
            reduceRowsHAvx2(in, out, spans.first(done), scale);
        } else {
            reduceRowsHSse2(in, out, spans.first(done), scale);
        }
    }
#endif
    for (size_t y = 0; y < in.size(); ++y) {
        if (scale.wide) {
            reduceRow<true>(in[y], out[y] + 3 * done, spans.subspan(done), scale);
        } else {
            reduceRow<false>(in[y], out[y] + 3 * done, spans.subspan(done), scale);
        }
    }
}

// Accumulates whole source rows into one sum per column and channel. The sums are exact,
// so this gives what a walk down each column does. Columns from begin on.
template <bool kWide>
void reduceRowPortable(std::span<const uint8_t* const> in, uint8_t* dst, size_t begin, size_t end,
                       const ReductionSpan& span, const ReductionScale& scale,
                       std::vector<ReductionSum<kWide>>& sums) {
    using Sum = ReductionSum<kWide>;
    const Sum bias = kWide ? 0 : scale.bias;
    const uint8_t* first = in[static_cast<size_t>(span.first)];
    const uint8_t* last = in[static_cast<size_t>(span.last)];
    for (size_t i = begin; i < end; ++i) {
        sums[i] = bias + Sum{span.firstWeight} * first[i] + Sum{span.lastWeight} * last[i];
    }
    for (int32_t y = span.first + 1; y < span.last; ++y) {
        const uint8_t* row = in[static_cast<size_t>(y)];
        for (size_t i = begin; i < end; ++i) {
            sums[i] += Sum{row[i]} << 15;
        }
    }
    for (size_t i = begin; i < end; ++i) {
        if constexpr (kWide) {
            dst[i] = exactMean(sums[i], span.weight);
        } else {
            dst[i] = scaledValue(sums[i], scale.factor);
        }
    }
}

template <bool kWide>
void reduceRowsV(std::span<const uint8_t* const> in, std::span<uint8_t* const> out, size_t rowBytes,
                 std::span<const ReductionSpan> spans, const ReductionScale& scale) {
    std::vector<ReductionSum<kWide>> sums(rowBytes);
    for (size_t d = 0; d < spans.size(); ++d) {
        size_t done = 0;
#if defined(__x86_64__)
        if (!kWide && simdLevel() == SimdLevel::avx2) {
            done = reduceRowVAvx2(in, out[d], rowBytes, spans[d], scale);
        } else if (!kWide && simdLevel() == SimdLevel::sse2) {
            done = reduceRowVSse2(in, out[d], rowBytes, spans[d], scale);
        }
#endif
        reduceRowPortable<kWide>(in, out[d], done, rowBytes, spans[d], scale, sums);
    }
}

}  // namespace

// Rows are independent: bands of rows go to the threads.
void areaReduceH(NkDib& dest, const NkDib& src, uint16_t width) {
    checkAreaPass(dest, src, width, src.height(), "areaReduceH");
    if (width > src.width()) {
        return;
    }
    const std::vector<ReductionSpan> spans = reductionSpans(src.width(), width);
    const ReductionScale scale = reductionScale(src.width(), width, spans);
    const std::vector<const uint8_t*> in = constRows(src);
    const std::vector<uint8_t*> out = rows(dest);
    const int32_t sourceWidth = src.width();
    forEachBand(in.size(), areaMinBand(3 * static_cast<size_t>(sourceWidth)),
                [&](size_t begin, size_t end) {
                    reduceRowsH(std::span(in).subspan(begin, end - begin),
                                std::span(out).subspan(begin, end - begin), sourceWidth, spans,
                                scale);
                });
}

// Destination rows are independent: bands of them go to the threads.
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
    const size_t sourceRowsPerRow = in.size() / out.size();
    forEachBand(out.size(), areaMinBand(rowBytes * sourceRowsPerRow),
                [&](size_t begin, size_t end) {
                    const std::span<const ReductionSpan> band(spans.data() + begin, end - begin);
                    const std::span<uint8_t* const> rowsOut(out.data() + begin, end - begin);
                    if (scale.wide) {
                        reduceRowsV<true>(in, rowsOut, rowBytes, band, scale);
                    } else {
                        reduceRowsV<false>(in, rowsOut, rowBytes, band, scale);
                    }
                });
}

}  // namespace ravinel
