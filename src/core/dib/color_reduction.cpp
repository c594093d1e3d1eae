#include "dib/color_reduction.h"

#include <algorithm>
#include <array>
#include <vector>

#include "dib/dib_pixel_index.h"
#include "dib/palette_division.h"

namespace ravinel {
namespace {

std::array<uint8_t, 3> rgbAt(const uint8_t* row, int32_t x) {
    return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
}

const uint8_t* sourceRow(const NkInternalDib& source, int32_t y) {
    return source.pixels.data() + static_cast<size_t>(y) * source.stride();
}

// The 5 red, 6 green and 5 blue high bits of a colour.
constexpr size_t kCells = 65536;
size_t cellOf(const std::array<uint8_t, 3>& rgb) {
    return static_cast<size_t>(rgb[0] >> 3) << 11 | static_cast<size_t>(rgb[1] >> 2) << 5 |
           static_cast<size_t>(rgb[2] >> 3);
}

// Writes each pixel's palette index, as index(rgb) gives it, into a store like the
// source that carries the palette.
template <typename Index>
std::shared_ptr<NkInternalDib> mapPixels(const NkInternalDib& source, int bitCount,
                                         const std::vector<RgbQuad>& palette, Index index) {
    auto dest = blankStoreLike(source, bitCount, static_cast<int>(palette.size()), false);
    dest->colorTable.fill(RgbQuad{});
    std::copy(palette.begin(), palette.end(), dest->colorTable.begin());
    const size_t toStride = dest->stride();
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = sourceRow(source, y);
        uint8_t* out = dest->pixels.data() + static_cast<size_t>(y) * toStride;
        for (int32_t x = 0; x < source.width; ++x) {
            setPaletteIndex(out, x, bitCount, index(rgbAt(in, x)));
        }
    }
    return dest;
}

std::shared_ptr<NkInternalDib> reduceFast(const NkInternalDib& source, int bitCount,
                                          const ConversionProgress& progress) {
    struct Cell {
        uint32_t count = 0;
        std::array<uint64_t, 3> lowBits{};  // sums of the bits the cell index drops
    };
    std::vector<Cell> cells(kCells);
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = sourceRow(source, y);
        for (int32_t x = 0; x < source.width; ++x) {
            const auto rgb = rgbAt(in, x);
            Cell& cell = cells[cellOf(rgb)];
            ++cell.count;
            cell.lowBits[0] += rgb[0] & 7;
            cell.lowBits[1] += rgb[1] & 3;
            cell.lowBits[2] += rgb[2] & 7;
        }
    }
    // Each occupied cell stands for its pixels with their mean low bits; that mean stays
    // below the next base, so a record's colour falls in its own cell again.
    std::vector<WeightedRecord> records;
    for (size_t i = 0; i < kCells; ++i) {
        const Cell& cell = cells[i];
        if (cell.count == 0) {
            continue;
        }
        const std::array<size_t, 3> base{(i >> 11) << 3, (i >> 5 & 63) << 2, (i & 31) << 3};
        WeightedRecord record{{}, cell.count};
        for (size_t c = 0; c < 3; ++c) {
            record.rgb[c] = static_cast<uint8_t>(base[c] + cell.lowBits[c] / cell.count);
        }
        records.push_back(record);
    }
    const PaletteTree tree = dividePalette(records, bitCount, progress);
    std::vector<uint8_t> cellIndex(kCells);
    for (const WeightedRecord& record : records) {
        cellIndex[cellOf(record.rgb)] = tree.paletteIndexOf(record.rgb);
    }
    return mapPixels(source, bitCount, tree.palette,
                     [&](const std::array<uint8_t, 3>& rgb) { return cellIndex[cellOf(rgb)]; });
}

std::shared_ptr<NkInternalDib> reduceHighQuality(const NkInternalDib& source, int bitCount,
                                                 const ConversionProgress& progress) {
    // The records live only while the division runs, not beside the new store.
    const PaletteTree tree = [&] {
        std::vector<PixelRecord> records;
        records.reserve(static_cast<size_t>(source.width) * static_cast<size_t>(source.height));
        for (int32_t y = 0; y < source.height; ++y) {
            const uint8_t* in = sourceRow(source, y);
            for (int32_t x = 0; x < source.width; ++x) {
                records.push_back(PixelRecord{rgbAt(in, x)});
            }
        }
        return dividePalette(records, bitCount, progress);
    }();
    return mapPixels(source, bitCount, tree.palette,
                     [&](const std::array<uint8_t, 3>& rgb) { return tree.paletteIndexOf(rgb); });
}

}  // namespace

std::shared_ptr<NkInternalDib> reduceTrueColor(const NkInternalDib& source, int bitCount,
                                               ColorReductionMethod method,
                                               const ConversionProgress& progress) {
    return method == ColorReductionMethod::Fast ? reduceFast(source, bitCount, progress)
                                                : reduceHighQuality(source, bitCount, progress);
}

}  // namespace ravinel
