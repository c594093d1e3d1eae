#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "dib/dib_types.h"

namespace ravinel::testing {

// Builds BMP files and packed DIBs byte by byte, so tests can also write the broken ones.
struct BmpBuilder {
    uint16_t fileType = 0x4D42;
    uint32_t headerSize = 40;  // 12, 16, 40, 52, 56, 64, 108, 124 or any other number
    int32_t width = 1;
    int32_t height = 1;  // negative: top-down
    uint16_t bitCount = 8;
    uint32_t compression = 0;
    uint32_t clrUsed = 0;
    int32_t pelsPerMeter = 2835;
    std::vector<uint32_t> masks;        // inside headers from 52 bytes on (not 64), else after
    std::vector<RgbQuad> palette;       // 4 bytes an entry, 3 with the core header
    std::vector<uint8_t> pixels;        // the data as the file holds them
    std::optional<uint32_t> bfSize;     // default: the real length
    std::optional<uint32_t> bfOffBits;  // default: where the pixels are written

    std::vector<uint8_t> packed() const {
        std::vector<uint8_t> out;
        put32(out, headerSize);
        const bool masksInHeader = headerSize >= 52 && headerSize != 64;
        if (headerSize == 12) {
            put16(out, static_cast<uint16_t>(width));
            put16(out, static_cast<uint16_t>(height));
            put16(out, 1);
            put16(out, bitCount);
        } else {
            put32(out, static_cast<uint32_t>(width));
            put32(out, static_cast<uint32_t>(height));
            put16(out, 1);
            put16(out, bitCount);
            if (headerSize > 16) {
                put32(out, compression);
                put32(out, static_cast<uint32_t>(pixels.size()));
                put32(out, static_cast<uint32_t>(pelsPerMeter));
                put32(out, static_cast<uint32_t>(pelsPerMeter));
                put32(out, clrUsed);
                put32(out, 0);
            }
            if (masksInHeader) {
                putMasks(out);
            }
            out.resize(headerSize, 0);
        }
        if (!masksInHeader) {
            putMasks(out);
        }
        for (const RgbQuad& q : palette) {
            out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed});
            if (headerSize != 12) {
                out.push_back(q.rgbReserved);
            }
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }

    std::vector<uint8_t> file() const {
        const std::vector<uint8_t> dib = packed();
        std::vector<uint8_t> out;
        put16(out, fileType);
        put32(out, bfSize.value_or(14 + static_cast<uint32_t>(dib.size())));
        put32(out, 0);
        put32(out, bfOffBits.value_or(14 + static_cast<uint32_t>(dib.size() - pixels.size())));
        out.insert(out.end(), dib.begin(), dib.end());
        return out;
    }

    void putMasks(std::vector<uint8_t>& out) const {
        for (uint32_t m : masks) {
            put32(out, m);
        }
    }
    static void put16(std::vector<uint8_t>& out, uint16_t v) {
        out.insert(out.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    }
    static void put32(std::vector<uint8_t>& out, uint32_t v) {
        put16(out, static_cast<uint16_t>(v));
        put16(out, static_cast<uint16_t>(v >> 16));
    }
};

// A 3 x 2 24-bit BMP file of one grey level, for decoders fed from somewhere else.
inline std::vector<uint8_t> smallBmpFile() {
    BmpBuilder bmp;
    bmp.width = 3;
    bmp.height = 2;
    bmp.bitCount = 24;
    bmp.pixels.assign(2 * 12, 0x40);
    return bmp.file();
}

// A grey ramp of n palette entries: entry i is (i, i, i) with a reserved byte of zero.
inline std::vector<RgbQuad> greyPalette(int n) {
    std::vector<RgbQuad> p;
    for (int i = 0; i < n; ++i) {
        const auto v = static_cast<uint8_t>(i);
        p.push_back(RgbQuad{v, v, v, 0});
    }
    return p;
}

}  // namespace ravinel::testing
