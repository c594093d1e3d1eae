#include "tests/core/dib/color_reduction_reference.h"

#include <array>
#include <cmath>
#include <map>
#include <utility>

#include "tests/core/dib/dib_test_pictures.h"

namespace ravinel::testing {
namespace {

using Rgb = std::array<int, 3>;

struct Record {
    Rgb rgb;
    long double weight;
};

// The division written out plainly: sums in extended precision, copies instead of an
// in-place partition. Fills the palette and the entry of each record's colour.
void referenceDivide(const std::vector<Record>& records, int d, int depth,
                     std::vector<RgbQuad>& palette, std::map<Rgb, int>& entryOf) {
    if (records.empty()) {
        return;
    }
    long double weight = 0;
    std::array<long double, 3> sum{};
    std::array<long double, 3> square{};
    for (const Record& r : records) {
        weight += r.weight;
        for (int c = 0; c < 3; ++c) {
            sum[c] += r.weight * r.rgb[c];
            square[c] += r.weight * r.rgb[c] * r.rgb[c];
        }
    }
    std::array<long double, 3> mean;
    std::array<long double, 3> variance;
    for (int c = 0; c < 3; ++c) {
        mean[c] = sum[c] / weight;
        variance[c] = square[c] / weight - mean[c] * mean[c];
    }
    if (d == depth) {
        auto rounded = [&](int c) { return static_cast<uint8_t>(std::nearbyint(mean[c])); };
        palette.push_back(RgbQuad{rounded(2), rounded(1), rounded(0), 0});
        for (const Record& r : records) {
            entryOf[r.rgb] = static_cast<int>(palette.size()) - 1;
        }
        return;
    }
    const long double vr = variance[0], vg = variance[1], vb = variance[2];
    const int c = 3 * vr >= 4 * vg && 3 * vr >= 2 * vb   ? 0
                  : 4 * vg >= 3 * vr && 4 * vg >= 2 * vb ? 1
                                                         : 2;
    std::vector<Record> lower;
    std::vector<Record> upper;
    for (const Record& r : records) {
        (r.rgb[c] <= mean[c] ? lower : upper).push_back(r);
    }
    referenceDivide(lower, d + 1, depth, palette, entryOf);
    referenceDivide(upper, d + 1, depth, palette, entryOf);
}

Rgb rgbOf(const RgbQuad& q) {
    return {q.rgbRed, q.rgbGreen, q.rgbBlue};
}

int cellOf(const Rgb& rgb) {
    return (rgb[0] >> 3) << 11 | (rgb[1] >> 2) << 5 | rgb[2] >> 3;
}

}  // namespace

PaletteReduction referenceHighQuality(const NkDib& dib, int depth) {
    const std::vector<RgbQuad> pixels = colors(dib);
    std::vector<Record> records;
    for (const RgbQuad& q : pixels) {
        records.push_back({rgbOf(q), 1});
    }
    PaletteReduction e;
    std::map<Rgb, int> entryOf;
    referenceDivide(records, 0, depth, e.palette, entryOf);
    for (const RgbQuad& q : pixels) {
        e.indices.push_back(entryOf.at(rgbOf(q)));
    }
    return e;
}

PaletteReduction referenceFast(const NkDib& dib, int depth) {
    const std::vector<RgbQuad> pixels = colors(dib);
    std::map<int, std::pair<long, Rgb>> cells;  // count, sums of the low bits
    for (const RgbQuad& q : pixels) {
        const Rgb rgb = rgbOf(q);
        auto& [count, low] = cells[cellOf(rgb)];
        ++count;
        low[0] += rgb[0] % 8;
        low[1] += rgb[1] % 4;
        low[2] += rgb[2] % 8;
    }
    std::vector<Record> records;
    std::map<int, Rgb> recordOf;
    for (const auto& [cell, entry] : cells) {
        const auto& [count, low] = entry;
        const Rgb value{(cell >> 11) * 8 + static_cast<int>(low[0] / count),
                        (cell >> 5 & 63) * 4 + static_cast<int>(low[1] / count),
                        (cell & 31) * 8 + static_cast<int>(low[2] / count)};
        records.push_back({value, static_cast<long double>(count)});
        recordOf[cell] = value;
    }
    PaletteReduction e;
    std::map<Rgb, int> entryOf;
    referenceDivide(records, 0, depth, e.palette, entryOf);
    for (const RgbQuad& q : pixels) {
        e.indices.push_back(entryOf.at(recordOf.at(cellOf(rgbOf(q)))));
    }
    return e;
}

}  // namespace ravinel::testing
