#include "dib/halftone_conversion.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "dib/dib_conversions.h"
#include "dib/dib_pixel_index.h"
#include "dib/nk_dib_error.h"

namespace ravinel {
namespace {

using Rgb = std::array<int, 3>;  // red, green, blue

constexpr std::array<int, 6> kRedLevels{0, 51, 102, 153, 204, 255};
constexpr std::array<int, 7> kGreenLevels{0, 43, 85, 128, 171, 214, 255};
constexpr std::array<int, 5> kBlueLevels{0, 64, 128, 192, 255};
constexpr int kHalftoneColors = 215;

// Wanted values stay within about -260..520 after error correction; the tables cover
// more and clamp beyond, so no value can index outside them.
constexpr int kLowestWanted = -512;
constexpr int kQuantiserSpan = 1536;

// Level index of every wanted value: index i is taken by the values above upper[i - 1]
// up to upper[i].
template <size_t Levels>
constexpr std::array<uint8_t, kQuantiserSpan> quantiser(std::array<int, Levels - 1> upper) {
    std::array<uint8_t, kQuantiserSpan> table{};
    for (int i = 0; i < kQuantiserSpan; ++i) {
        const int v = i + kLowestWanted;
        uint8_t level = 0;
        while (level < Levels - 1 && v > upper[level]) {
            ++level;
        }
        table[static_cast<size_t>(i)] = level;
    }
    return table;
}

constexpr auto kRedQuantiser = quantiser<6>({29, 80, 131, 182, 234});
constexpr auto kGreenQuantiser = quantiser<7>({25, 67, 110, 153, 196, 237});
constexpr auto kBlueQuantiser = quantiser<5>({35, 99, 163, 227});

uint8_t levelIndex(const std::array<uint8_t, kQuantiserSpan>& table, int wanted) {
    return table[static_cast<size_t>(std::clamp(wanted - kLowestWanted, 0, kQuantiserSpan - 1))];
}

void checkSource(const NkInternalDib& source, const char* conversion) {
    const int bits = source.header.biBitCount;
    if (source.header.biCompression != kBiRgb ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24)) {
        throw NkDibBadDibTypeError(std::string(conversion) + ": Invalid Bit Count");
    }
}

void readRowColors(const NkInternalDib& source, const uint8_t* row, std::vector<Rgb>& colors) {
    const int bits = source.header.biBitCount;
    for (int32_t x = 0; x < source.width; ++x) {
        if (bits == 24) {
            colors[static_cast<size_t>(x)] = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
        } else {
            const RgbQuad& q = source.colorTable[paletteIndex(row, x, bits)];
            colors[static_cast<size_t>(x)] = {q.rgbRed, q.rgbGreen, q.rgbBlue};
        }
    }
}

// The error diffusion shared by both halftones. Rows are taken in storage order, even
// rows left to right and odd rows right to left. For each pixel the wanted colour is the
// source colour less the weighted errors of the neighbours already made; place(out, x,
// wanted) writes the pixel into its output row and returns the colour it chose, whose
// difference from the wanted one is passed on.
template <typename Place>
void diffuseErrors(const NkInternalDib& source, NkInternalDib& dest, Place place) {
    const auto width = static_cast<size_t>(source.width);
    // The picture's pixel x sits at entry x + 1; the end entries stay zero.
    std::vector<std::array<int16_t, 3>> previous(width + 2);
    std::vector<std::array<int16_t, 3>> current(width + 2);
    std::vector<Rgb> colors(width);
    const size_t fromStride = source.stride();
    const size_t toStride = dest.stride();
    for (int32_t row = 0; row < source.height; ++row) {
        std::swap(previous, current);
        readRowColors(source, source.pixels.data() + static_cast<size_t>(row) * fromStride, colors);
        uint8_t* out = dest.pixels.data() + static_cast<size_t>(row) * toStride;
        const bool leftToRight = row % 2 == 0;
        Rgb running{};
        for (size_t step = 0; step < width; ++step) {
            const size_t x = leftToRight ? step : width - 1 - step;
            const size_t behind = leftToRight ? x : x + 2;
            Rgb wanted;
            for (size_t c = 0; c < 3; ++c) {
                const int error =
                    (12 * previous[x + 1][c] + 12 * running[c] + 5 * previous[behind][c]) / 32;
                wanted[c] = colors[x][c] - error;
            }
            const Rgb chosen = place(out, x, wanted);
            for (size_t c = 0; c < 3; ++c) {
                running[c] = chosen[c] - wanted[c];
                current[x + 1][c] = static_cast<int16_t>(running[c]);
            }
        }
    }
}

}  // namespace

std::shared_ptr<NkInternalDib> convertToHalfTone(const NkInternalDib& source) {
    checkSource(source, "ConvertToHalfTone");
    auto dest = blankStoreLike(source, 8, kHalftoneColors, false);
    dest->colorTable.fill(RgbQuad{});
    for (size_t r = 0; r < kRedLevels.size(); ++r) {
        for (size_t g = 0; g < kGreenLevels.size(); ++g) {
            for (size_t b = 0; b < kBlueLevels.size(); ++b) {
                dest->colorTable[r * 35 + g * 5 + b] = RgbQuad{
                    static_cast<uint8_t>(kBlueLevels[b]), static_cast<uint8_t>(kGreenLevels[g]),
                    static_cast<uint8_t>(kRedLevels[r]), 0};
            }
        }
    }
    // Never chosen by the diffusion; they complete the palette other programs expect.
    dest->colorTable[210] = RgbQuad{0, 0, 128, 0};
    dest->colorTable[211] = RgbQuad{0, 128, 128, 0};
    dest->colorTable[212] = RgbQuad{128, 0, 128, 0};
    dest->colorTable[213] = RgbQuad{192, 192, 192, 0};
    dest->colorTable[214] = RgbQuad{128, 128, 128, 0};
    diffuseErrors(source, *dest, [](uint8_t* out, size_t x, const Rgb& wanted) {
        const uint8_t r = levelIndex(kRedQuantiser, wanted[0]);
        const uint8_t g = levelIndex(kGreenQuantiser, wanted[1]);
        const uint8_t b = levelIndex(kBlueQuantiser, wanted[2]);
        out[x] = static_cast<uint8_t>(r * 35 + g * 5 + b);
        return Rgb{kRedLevels[r], kGreenLevels[g], kBlueLevels[b]};
    });
    return dest;
}

std::shared_ptr<NkInternalDib> convertToHalfToneBW(const NkInternalDib& source) {
    checkSource(source, "ConvertToHalfToneBW");
    auto dest = blankStoreLike(source, 1, 2, false);
    dest->colorTable.fill(RgbQuad{});
    dest->colorTable[1] = RgbQuad{255, 255, 255, 0};
    diffuseErrors(source, *dest, [](uint8_t* out, size_t x, const Rgb& wanted) {
        if (wanted[0] + wanted[1] + wanted[2] < 384) {
            return Rgb{0, 0, 0};  // the row is zero-filled: black already
        }
        out[x / 8] = static_cast<uint8_t>(out[x / 8] | 0x80 >> (x % 8));
        return Rgb{255, 255, 255};
    });
    return dest;
}

}  // namespace ravinel
