#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "dib/dib_pixel_index.h"
#include "dib/nk_dib.h"
#include "tests/bmp_builder.h"

namespace ravinel::testing {

// A picture of the bit count whose pixel (x, y) has index(x, y) and whose palette entry i
// is colour(i).
template <typename Index, typename Color>
NkDib paletted(int bits, int32_t width, int32_t height, Index index, Color color) {
    NkDib dib;
    dib.setBitCount(bits);
    dib.setWidth(width);
    dib.setHeight(height);
    for (int i = 0; i < dib.paletteSize(); ++i) {
        dib.setPaletteEntry(i, color(i));
    }
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            setPaletteIndex(dib.scanLine(y), x, bits, static_cast<uint8_t>(index(x, y)));
        }
    }
    return dib;
}

inline RgbQuad distinct(int i) {
    return RgbQuad{static_cast<uint8_t>(i * 7), static_cast<uint8_t>(255 - i),
                   static_cast<uint8_t>(i * 13), 0};
}

// The colour of every pixel, through the palette or the 24-bit bytes, top row first.
inline std::vector<RgbQuad> colors(const NkDib& dib) {
    NkDib plain = dib;
    if (plain.pixelFormat() == NkDibPixelFormat::pf4BitRle ||
        plain.pixelFormat() == NkDibPixelFormat::pf8BitRle) {
        plain.setPixelFormat(plain.bitCount() == 4 ? NkDibPixelFormat::pf4Bit
                                                   : NkDibPixelFormat::pf8Bit);
    }
    std::vector<RgbQuad> out;
    for (int32_t y = 0; y < plain.height(); ++y) {
        const uint8_t* row = plain.constScanLine(y);
        for (int32_t x = 0; x < plain.width(); ++x) {
            if (plain.bitCount() == 24) {
                out.push_back(RgbQuad{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0});
            } else {
                out.push_back(plain.palette()[paletteIndex(row, x, plain.bitCount())]);
            }
        }
    }
    return out;
}

// The palette index of every pixel of a plain 1, 4 or 8-bit picture, top row first.
inline std::vector<int> indices(const NkDib& dib) {
    std::vector<int> out;
    for (int32_t y = 0; y < dib.height(); ++y) {
        for (int32_t x = 0; x < dib.width(); ++x) {
            out.push_back(paletteIndex(dib.constScanLine(y), x, dib.bitCount()));
        }
    }
    return out;
}

// The same picture with its rows stored top-down.
inline NkDib storedTopDown(const NkDib& dib) {
    BmpBuilder b;
    b.width = dib.width();
    b.height = -dib.height();
    b.bitCount = static_cast<uint16_t>(dib.bitCount());
    b.palette.assign(dib.palette().begin(), dib.palette().end());
    b.clrUsed = static_cast<uint32_t>(b.palette.size());
    for (int32_t y = 0; y < dib.height(); ++y) {
        b.pixels.insert(b.pixels.end(), dib.constScanLine(y), dib.constScanLine(y) + dib.stride());
    }
    NkDib topDown;
    topDown.loadFromStream(b.file());
    return topDown;
}

// A 24-bit picture whose pixels are color(x, y) as 0xRRGGBB.
template <typename Color>
NkDib trueColor(int32_t width, int32_t height, Color color) {
    NkDib dib;
    dib.setBitCount(24);
    dib.setWidth(width);
    dib.setHeight(height);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib.scanLine(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = color(x, y);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    return dib;
}

// Random colours, uniform or in a few tight clusters (so colours and histogram cells
// repeat), of a seeded generator.
inline NkDib randomPicture(int32_t width, int32_t height, unsigned seed, bool clustered) {
    std::mt19937 random(seed);
    std::vector<uint32_t> centres(5);
    for (uint32_t& c : centres) {
        c = random() & 0xFFFFFF;
    }
    return trueColor(width, height, [&](int32_t, int32_t) -> uint32_t {
        if (!clustered) {
            return random() & 0xFFFFFF;
        }
        const uint32_t centre = centres[random() % centres.size()];
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const int v =
                static_cast<int>(centre >> shift & 255) + static_cast<int>(random() % 21) - 10;
            out |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << shift;
        }
        return out;
    });
}

}  // namespace ravinel::testing
