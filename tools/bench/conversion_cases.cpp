#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench_case.h"
#include "codec/bmp/tolerant_bmp_reader.h"
#include "dib/nk_dib.h"

namespace ravinel::bench {
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// Deterministic bytes that look like noise, so no colour or index repeats in a pattern.
uint8_t noise(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return static_cast<uint8_t>(state >> 24);
}

NkDib palettePicture(int bitCount) {
    NkDib dib;
    dib.setBitCount(bitCount);
    dib.setWidth(kWidth);
    dib.setHeight(kHeight);
    const int colors = 1 << bitCount;
    dib.setPaletteSize(colors);
    uint32_t state = 1;
    for (int i = 0; i < colors; ++i) {
        dib.setPaletteEntry(i, RgbQuad{noise(state), noise(state), noise(state), 0});
    }
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = dib.scanLine(y);
        for (size_t i = 0; i < dib.stride(); ++i) {
            row[i] = noise(state);
        }
    }
    return dib;
}

// Widens a fresh copy each run: a conversion replaces the store.
BenchCase wideningCase(int bitCount) {
    auto source = std::make_shared<NkDib>(palettePicture(bitCount));
    auto work = std::make_shared<NkDib>();
    BenchCase benchCase;
    benchCase.name = "widen " + std::to_string(bitCount) + " -> 24 bit " + std::to_string(kWidth) +
                     "x" + std::to_string(kHeight);
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.prepare = [=] { *work = *source; };
    benchCase.run = [=] { work->setPixelFormat(NkDibPixelFormat::pf24Bit); };
    return benchCase;
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
}

// A bottom-up BMP file of 16 bits (5-6-5) or 32 bits (8-8-8) in bit fields.
std::vector<uint8_t> maskedBmp(int bitCount) {
    const uint32_t stride = (static_cast<uint32_t>(kWidth) * bitCount / 8 + 3) & ~3u;
    const uint32_t pixelBytes = stride * kHeight;
    const uint32_t offset = 14 + 40 + 12;
    std::vector<uint8_t> file{'B', 'M'};
    put32(file, offset + pixelBytes);
    put32(file, 0);
    put32(file, offset);
    for (uint32_t v : {40u, uint32_t{kWidth}, uint32_t{kHeight}}) {
        put32(file, v);
    }
    file.insert(file.end(), {1, 0, static_cast<uint8_t>(bitCount), 0});
    for (uint32_t v : {3u, pixelBytes, 2835u, 2835u, 0u, 0u}) {
        put32(file, v);
    }
    const bool sixteen = bitCount == 16;
    for (uint32_t mask : {sixteen ? 0xF800u : 0xFF0000u, sixteen ? 0x07E0u : 0x00FF00u,
                          sixteen ? 0x001Fu : 0x0000FFu}) {
        put32(file, mask);
    }
    uint32_t state = 2;
    for (uint32_t i = 0; i < pixelBytes; ++i) {
        file.push_back(noise(state));
    }
    return file;
}

BenchCase bmpCase(int bitCount, bool tolerant) {
    auto file = std::make_shared<const std::vector<uint8_t>>(maskedBmp(bitCount));
    BenchCase benchCase;
    benchCase.name = std::string(tolerant ? "tolerant " : "") + "BMP read " +
                     std::to_string(bitCount) + " bit " + std::to_string(kWidth) + "x" +
                     std::to_string(kHeight);
    benchCase.sourceMegapixels = kWidth * static_cast<double>(kHeight) / 1e6;
    benchCase.run = [file, tolerant] {
        if (tolerant) {
            readTolerantBmp(*file);
        } else {
            NkDib dib;
            dib.loadFromStream(*file);
        }
    };
    return benchCase;
}

}  // namespace

void addConversionCases(std::vector<BenchCase>& cases) {
    for (int bitCount : {1, 4, 8}) {
        cases.push_back(wideningCase(bitCount));
    }
    for (int bitCount : {16, 32}) {
        cases.push_back(bmpCase(bitCount, false));
        cases.push_back(bmpCase(bitCount, true));
    }
}

}  // namespace ravinel::bench
