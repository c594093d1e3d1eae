#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel::testing {

// A 24-bit picture as plain bytes (blue, green, red per pixel, rows top first), to build
// sources and to compare results.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bytes;

    Picture(int w, int h, uint8_t fill = 0)
        : width(w), height(h), bytes(3 * static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    uint8_t& at(int x, int y, int c) {
        return bytes[(static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3 + c];
    }
    uint8_t at(int x, int y, int c) const {
        return bytes[(static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3 + c];
    }
    friend bool operator==(const Picture&, const Picture&) = default;
};

inline Picture randomPicture(std::mt19937& rng, int width, int height) {
    Picture picture(width, height);
    std::uniform_int_distribution<int> value(0, 255);
    for (uint8_t& b : picture.bytes) {
        b = static_cast<uint8_t>(value(rng));
    }
    return picture;
}

inline NkDib toDib(const Picture& picture) {
    NkDib dib;
    dib.setBitCount(24);
    dib.setWidth(picture.width);
    dib.setHeight(picture.height);
    for (int y = 0; y < picture.height; ++y) {
        uint8_t* row = dib.scanLine(y);
        for (int i = 0; i < 3 * picture.width; ++i) {
            row[i] = picture.bytes[static_cast<size_t>(y) * 3 * picture.width + i];
        }
    }
    return dib;
}

// Fails the calling test unless dib is 24-bit; returns its pixels.
inline Picture toPicture(const NkDib& dib) {
    EXPECT_EQ(dib.pixelFormat(), NkDibPixelFormat::pf24Bit);
    Picture picture(dib.width(), dib.height());
    for (int y = 0; y < dib.height(); ++y) {
        const uint8_t* row = dib.constScanLine(y);
        for (int i = 0; i < 3 * dib.width(); ++i) {
            picture.bytes[static_cast<size_t>(y) * 3 * dib.width() + i] = row[i];
        }
    }
    return picture;
}

using Resizer = void (*)(NkDib&, NkDib&, uint16_t, uint16_t);

// src resized to width x height by resize; fails the calling test unless the result is
// 24-bit of exactly that size.
inline Picture resized(Resizer resize, const Picture& src, int height, int width) {
    NkDib source = toDib(src);
    NkDib dest;
    resize(dest, source, static_cast<uint16_t>(height), static_cast<uint16_t>(width));
    EXPECT_EQ(dest.width(), width);
    EXPECT_EQ(dest.height(), height);
    return toPicture(dest);
}

}  // namespace ravinel::testing
