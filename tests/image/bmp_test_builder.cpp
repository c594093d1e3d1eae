#include "tests/image/bmp_test_builder.h"

namespace ravinel::testing {

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> buildBmp(const BmpParts& parts) {
    std::vector<uint8_t> out = {'B', 'M'};
    put32(out, 0);  // size, patched below
    put32(out, 0);
    put32(out, 0);  // pixel offset, patched below
    const size_t headerStart = out.size();
    put32(out, parts.headerSize);
    if (parts.headerSize == 12) {
        put16(out, static_cast<uint32_t>(parts.width));
        put16(out, static_cast<uint32_t>(parts.height));
        put16(out, 1);
        put16(out, parts.bitCount);
    } else {
        put32(out, static_cast<uint32_t>(parts.width));
        put32(out, static_cast<uint32_t>(parts.height));
        put16(out, 1);
        put16(out, parts.bitCount);
        if (parts.headerSize > 16) {
            put32(out, parts.compression);
            put32(out, static_cast<uint32_t>(parts.pixels.size()));
            put32(out, 2835);
            put32(out, 2835);
            put32(out, parts.colorsUsed);
            put32(out, 0);
        }
        const bool masksInHeader = parts.headerSize >= 52 && parts.headerSize != 64;
        if (masksInHeader) {
            for (uint32_t mask : parts.masks) {
                put32(out, mask);
            }
        }
        out.resize(headerStart + parts.headerSize, 0);
        if (!masksInHeader) {
            for (uint32_t mask : parts.masks) {
                put32(out, mask);
            }
        }
    }
    for (const RgbQuad& q : parts.palette) {
        out.push_back(q.rgbBlue);
        out.push_back(q.rgbGreen);
        out.push_back(q.rgbRed);
        if (parts.headerSize != 12) {
            out.push_back(q.rgbReserved);
        }
    }
    const uint32_t offBits = parts.offBits.value_or(static_cast<uint32_t>(out.size()));
    out.insert(out.end(), parts.pixels.begin(), parts.pixels.end());
    const uint32_t fileSize = parts.fileSize.value_or(static_cast<uint32_t>(out.size()));
    for (int i = 0; i < 4; ++i) {
        out[2 + i] = static_cast<uint8_t>(fileSize >> (8 * i));
        out[10 + i] = static_cast<uint8_t>(offBits >> (8 * i));
    }
    return out;
}

}  // namespace ravinel::testing
