#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/vector_path.h"
#include "process/dib_rows.h"
#include "process/filter/bordered_copy.h"
#include "process/filter/conditional_average_rows.h"
#include "process/filter/filter_bands.h"
#include "process/filter/filter_progress.h"
#include "process/filter/filter_source.h"
#include "process/filter/image_filters.h"
#include "process/saturate.h"

namespace ravinel {
namespace {

// Byte offsets of the eight neighbours in the bordered copy, relative to the pixel one
// row up and one pixel left; the order does not change the result.
constexpr std::array<std::array<int, 2>, 8> kNeighbours = {
    {{0, 0}, {0, 3}, {0, 6}, {1, 0}, {1, 6}, {2, 0}, {2, 3}, {2, 6}}};

// 1 / count for counts 1..9, each the correctly rounded single-precision reciprocal.
std::array<float, 10> reciprocals() {
    std::array<float, 10> result{};
    for (int count = 1; count < 10; ++count) {
        result[static_cast<size_t>(count)] = 1.0f / static_cast<float>(count);
    }
    return result;
}

// Trunc(x + 0.5) in single precision; what is not 0..255 as an unsigned 32-bit number
// becomes 255.
inline uint8_t floatToByte(float x) {
    const auto value = static_cast<uint32_t>(static_cast<int64_t>(x + 0.5f));
    return value > 255 ? 255 : static_cast<uint8_t>(value);
}

struct PlainArithmetic {
    int threshold;
    std::array<float, 10> reciprocal = reciprocals();

    bool close(const uint8_t* c, const uint8_t* n) const {
        return std::abs(n[0] - c[0]) <= threshold && std::abs(n[1] - c[1]) <= threshold &&
               std::abs(n[2] - c[2]) <= threshold;
    }
    uint8_t mean(uint16_t sum, int count) const {
        return floatToByte(static_cast<float>(sum) * reciprocal[static_cast<size_t>(count)]);
    }
};

// The packed formulation: a pixel is a slot of four lanes whose fourth has the threshold
// 255, so it never fails the test, and the lanes are compared with saturating
// subtractions (here four 16-bit lanes of a 64-bit word holding byte values). The
// reciprocal is the correctly rounded one (the estimate refined by iteration may miss it
// by one unit at count 6; we prefer the result that does not depend on the processor).
struct PackedArithmetic {
    static constexpr uint64_t kLaneOnes = 0x0001'0001'0001'0001;

    uint64_t thresholds;
    std::array<float, 10> reciprocal = reciprocals();

    explicit PackedArithmetic(uint8_t threshold)
        : thresholds(threshold * (kLaneOnes >> 16) | uint64_t{0xFF} << 48) {}

    static uint64_t slot(const uint8_t* p) {
        return p[0] | uint64_t{p[1]} << 16 | uint64_t{p[2]} << 32;
    }
    // Per lane a - b, or 0 where b is larger: each lane of d is 256 + a - b, whose bit 8
    // says whether a >= b and whose low byte is then a - b.
    static uint64_t subtractSaturated(uint64_t a, uint64_t b) {
        const uint64_t d = (a + (kLaneOnes << 8)) - b;
        const uint64_t keep = ((d >> 8) & kLaneOnes) * 0xFF;
        return d & keep;
    }

    bool close(const uint8_t* c, const uint8_t* n) const {
        const uint64_t centre = slot(c);
        const uint64_t neighbour = slot(n);
        const uint64_t difference =
            subtractSaturated(neighbour, centre) | subtractSaturated(centre, neighbour);
        return subtractSaturated(difference, thresholds) == 0;
    }
    uint8_t mean(uint16_t sum, int count) const {
        const float product = static_cast<float>(sum) * reciprocal[static_cast<size_t>(count)];
        const float biased = product + 0.5f;
        return clampByte(saturateInt16(static_cast<int32_t>(biased)));
    }
};

template <typename Arithmetic>
void averagePixels(const RowWindow& window, uint8_t* dst, int begin, int end,
                   const Arithmetic& arithmetic) {
    for (int x = begin; x < end; ++x) {
        const size_t left = 3 * static_cast<size_t>(x);
        const uint8_t* c = window[1] + left + 3;
        uint16_t sums[3] = {c[0], c[1], c[2]};
        int count = 1;
        for (const auto& [row, offset] : kNeighbours) {
            const uint8_t* n = window[static_cast<size_t>(row)] + left + offset;
            if (arithmetic.close(c, n)) {
                sums[0] = static_cast<uint16_t>(sums[0] + n[0]);
                sums[1] = static_cast<uint16_t>(sums[1] + n[1]);
                sums[2] = static_cast<uint16_t>(sums[2] + n[2]);
                ++count;
            }
        }
        for (int i = 0; i < 3; ++i) {
            dst[left + static_cast<size_t>(i)] = arithmetic.mean(sums[i], count);
        }
    }
}

using VectorPixels = int (*)(const RowWindow&, uint8_t*, int, uint8_t);

// The vector routine of the level in use, or none for the portable loop.
VectorPixels vectorPixels() {
#if defined(__x86_64__)
    return vectorPath(averagePixelsSse2, averagePixelsAvx2);
#else
    return nullptr;
#endif
}

template <typename Arithmetic>
void averageRows(NkDib& dest, const NkDib& bordered, uint8_t threshold,
                 const Arithmetic& arithmetic, const ProgressStageEvent& progress) {
    const std::vector<const uint8_t*> in = constRows(bordered);
    const std::vector<uint8_t*> out = rows(dest);
    const int width = dest.width();
    const VectorPixels vector = vectorPixels();
    forEachFilterBand(dest.height(), width, progress, [&](int begin, int end) {
        for (int y = begin; y < end; ++y) {
            const RowWindow window = {in[static_cast<size_t>(y)], in[static_cast<size_t>(y) + 1],
                                      in[static_cast<size_t>(y) + 2]};
            uint8_t* dst = out[static_cast<size_t>(y)];
            const int done = vector ? vector(window, dst, width, threshold) : 0;
            averagePixels(window, dst, done, width, arithmetic);
        }
    });
}

}  // namespace

void conditionalAverage(NkDib& dest, const NkDib& src, uint8_t threshold,
                        const ProgressStageEvent& progress) {
    const NkDib source = filterSource(src);
    const NkDib bordered = borderedCopy(source);
    sizeLike(dest, source);
    reportStage(progress, ProcessStage::conditionalAverage);
    averageRows(dest, bordered, threshold, PlainArithmetic{threshold}, progress);
}

void conditionalAverage3DNow(NkDib& dest, const NkDib& src, uint8_t threshold,
                             const ProgressStageEvent& progress) {
    const NkDib source = filterSource(src);
    const NkDib bordered = borderedCopy(source);
    reportStage(progress, ProcessStage::conditionalAverage);
    sizeLike(dest, source);
    averageRows(dest, bordered, threshold, PackedArithmetic{threshold}, progress);
}

}  // namespace ravinel
