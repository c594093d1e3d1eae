#include "dib/dib_conversions.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "dib/conversion_bands.h"
#include "dib/dib_pixel_index.h"
#include "dib/dib_rle.h"
#include "dib/nk_dib_error.h"
#include "dib/palette_to_bgr.h"
#include "platform/parallel_bands.h"

namespace ravinel {
namespace {

int sourceColorCount(const NkInternalDib& source) {
    return static_cast<int>(std::min<uint32_t>(source.header.biClrUsed, kMaxPaletteEntries));
}

struct WeightedColor {
    std::array<uint8_t, 3> bgr;
    uint64_t weight;
};

using ColorRange = std::pair<size_t, size_t>;  // [first, last) of a colour list

int widestChannel(const std::vector<WeightedColor>& colors, ColorRange box, int* spread) {
    int best = 0;
    *spread = -1;
    for (int c = 0; c < 3; ++c) {
        uint8_t lo = 255;
        uint8_t hi = 0;
        for (size_t i = box.first; i < box.second; ++i) {
            lo = std::min(lo, colors[i].bgr[c]);
            hi = std::max(hi, colors[i].bgr[c]);
        }
        if (hi - lo > *spread) {
            *spread = hi - lo;
            best = c;
        }
    }
    return best;
}

// Median cut weighted by pixel count: the box with the widest channel is split where
// half its pixels lie on each side, until there are as many boxes as wanted.
std::vector<RgbQuad> chooseColors(std::vector<WeightedColor> colors, size_t wanted) {
    std::vector<ColorRange> boxes{{0, colors.size()}};
    while (boxes.size() < wanted) {
        int bestSpread = 0;
        size_t bestBox = boxes.size();
        int channel = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            int spread = 0;
            const int c = widestChannel(colors, boxes[b], &spread);
            if (spread > bestSpread) {
                bestSpread = spread;
                bestBox = b;
                channel = c;
            }
        }
        if (bestBox == boxes.size()) {
            break;  // every box holds a single colour
        }
        const auto [first, last] = boxes[bestBox];
        std::sort(colors.begin() + static_cast<ptrdiff_t>(first),
                  colors.begin() + static_cast<ptrdiff_t>(last),
                  [channel](const WeightedColor& a, const WeightedColor& b) {
                      return a.bgr[channel] != b.bgr[channel] ? a.bgr[channel] < b.bgr[channel]
                                                              : a.bgr < b.bgr;
                  });
        uint64_t total = 0;
        for (size_t i = first; i < last; ++i) {
            total += colors[i].weight;
        }
        size_t split = first + 1;
        uint64_t below = colors[first].weight;
        while (split < last - 1 && below * 2 < total) {
            below += colors[split].weight;
            ++split;
        }
        boxes[bestBox] = {first, split};
        boxes.push_back({split, last});
    }
    std::vector<RgbQuad> palette;
    for (const auto& [first, last] : boxes) {
        uint64_t total = 0;
        std::array<uint64_t, 3> sums{};
        for (size_t i = first; i < last; ++i) {
            total += colors[i].weight;
            for (int c = 0; c < 3; ++c) {
                sums[c] += colors[i].bgr[c] * colors[i].weight;
            }
        }
        auto mean = [&](int c) { return static_cast<uint8_t>((sums[c] + total / 2) / total); };
        palette.push_back(RgbQuad{mean(0), mean(1), mean(2), 0});
    }
    return palette;
}

uint8_t nearestColor(const std::vector<RgbQuad>& palette, const RgbQuad& color) {
    uint8_t best = 0;
    int bestDistance = INT32_MAX;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int db = color.rgbBlue - palette[i].rgbBlue;
        const int dg = color.rgbGreen - palette[i].rgbGreen;
        const int dr = color.rgbRed - palette[i].rgbRed;
        const int d = db * db + dg * dg + dr * dr;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}

}  // namespace

std::shared_ptr<NkInternalDib> blankStoreLike(const NkInternalDib& source, int bitCount,
                                              int colorCount, bool bottomUp) {
    const int32_t signedHeight = (source.isTopDown() && !bottomUp) ? -source.height : source.height;
    auto store = NkInternalDib::createDib(source.width, signedHeight, colorCount, bitCount);
    store->header.biXPelsPerMeter = source.header.biXPelsPerMeter;
    store->header.biYPelsPerMeter = source.header.biYPelsPerMeter;
    store->colorTable = source.colorTable;
    store->useFmo = source.useFmo;
    return store;
}

std::shared_ptr<NkInternalDib> expandRunLength(const NkInternalDib& source) {
    const int bits = source.header.biBitCount;
    auto plain = blankStoreLike(source, bits, sourceColorCount(source), true);
    const std::span<const uint8_t> coded(source.pixels.data(), source.pixels.size());
    const std::span<uint8_t> block(plain->pixels.data(), plain->pixels.size());
    if (bits == 8) {
        expandRle8(coded, source.width, source.height, block);
    } else {
        expandRle4(coded, source.width, source.height, block);
    }
    return plain;
}

std::shared_ptr<NkInternalDib> compressRunLength(const NkInternalDib& source) {
    const int bits = source.header.biBitCount;
    const std::span<const uint8_t> plain(source.pixels.data(), source.pixels.size());
    const std::vector<uint8_t> coded =
        bits == 8 ? compressRle8(plain, source.width, source.height, source.isTopDown())
                  : compressRle4(plain, source.width, source.height, source.isTopDown());
    NkInternalDib::checkBlockSize(coded.size());
    auto store = blankStoreLike(source, bits, sourceColorCount(source), true);
    store->header.biCompression = bits == 8 ? kBiRle8 : kBiRle4;
    store->header.biSizeImage = static_cast<uint32_t>(coded.size());
    store->pixels = PixelBlock(coded.size());
    std::memcpy(store->pixels.data(), coded.data(), coded.size());
    return store;
}

std::shared_ptr<NkInternalDib> widenBitCount(const NkInternalDib& source, int bitCount) {
    const int from = source.header.biBitCount;
    auto wide =
        blankStoreLike(source, bitCount, bitCount == 24 ? 0 : sourceColorCount(source), false);
    const size_t fromStride = source.stride();
    const size_t toStride = wide->stride();
    const PaletteWords words = paletteWords(source.colorTable);
    const auto width = static_cast<size_t>(source.width);
    forEachBand(static_cast<size_t>(source.height), conversionBandRows(source.width),
                [&](size_t first, size_t end) {
                    for (size_t y = first; y < end; ++y) {
                        const uint8_t* in = source.pixels.data() + y * fromStride;
                        uint8_t* out = wide->pixels.data() + y * toStride;
                        if (bitCount == 24) {
                            paletteRowToBgr(in, width, from, words, out);
                            continue;
                        }
                        for (size_t x = 0; x < width; ++x) {
                            const auto at = static_cast<int64_t>(x);
                            setPaletteIndex(out, at, bitCount, paletteIndex(in, at, from));
                        }
                    }
                });
    return wide;
}

std::shared_ptr<NkInternalDib> reduce8BitTo4Bit(const NkInternalDib& source,
                                                const ConversionProgress& progress) {
    const size_t stride = source.stride();
    std::array<uint64_t, 256> counts{};
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* row = source.pixels.data() + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < source.width; ++x) {
            ++counts[row[x]];
        }
    }
    // Indices that share a colour count as one colour.
    std::vector<WeightedColor> colors;
    for (int i = 0; i < 256; ++i) {
        if (counts[i] == 0) {
            continue;
        }
        const RgbQuad& q = source.colorTable[static_cast<size_t>(i)];
        const std::array<uint8_t, 3> bgr{q.rgbBlue, q.rgbGreen, q.rgbRed};
        auto same = std::find_if(colors.begin(), colors.end(),
                                 [&](const WeightedColor& c) { return c.bgr == bgr; });
        if (same != colors.end()) {
            same->weight += counts[i];
        } else {
            colors.push_back({bgr, counts[i]});
        }
    }
    const std::vector<RgbQuad> chosen = chooseColors(std::move(colors), 16);
    std::array<uint8_t, 256> lookup{};
    for (int i = 0; i < 256; ++i) {
        if (counts[i] != 0) {
            lookup[i] = nearestColor(chosen, source.colorTable[static_cast<size_t>(i)]);
        }
    }

    auto reduced = blankStoreLike(source, 4, 16, false);
    reduced->colorTable.fill(RgbQuad{});
    std::copy(chosen.begin(), chosen.end(), reduced->colorTable.begin());
    const size_t toStride = reduced->stride();
    int reported = 0;
    for (int32_t y = 0; y < source.height; ++y) {
        const uint8_t* in = source.pixels.data() + static_cast<size_t>(y) * stride;
        uint8_t* out = reduced->pixels.data() + static_cast<size_t>(y) * toStride;
        for (int32_t x = 0; x < source.width; ++x) {
            setPaletteIndex(out, x, 4, lookup[in[x]]);
        }
        const int position =
            static_cast<int>(int64_t{y + 1} * kReduce8To4ProgressTotal / source.height);
        if (position != reported && progress) {
            progress(position);
        }
        reported = position;
    }
    return reduced;
}

}  // namespace ravinel
