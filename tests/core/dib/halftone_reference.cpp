#include "tests/core/dib/halftone_reference.h"

#include <array>

#include "tests/core/dib/dib_test_pictures.h"

namespace ravinel::testing {
namespace {

constexpr std::array<int, 6> kRed{0, 51, 102, 153, 204, 255};
constexpr std::array<int, 7> kGreen{0, 43, 85, 128, 171, 214, 255};
constexpr std::array<int, 5> kBlue{0, 64, 128, 192, 255};

int redLevel(int v) {
    return v <= 29 ? 0 : v <= 80 ? 1 : v <= 131 ? 2 : v <= 182 ? 3 : v <= 234 ? 4 : 5;
}
int greenLevel(int v) {
    return v <= 25    ? 0
           : v <= 67  ? 1
           : v <= 110 ? 2
           : v <= 153 ? 3
           : v <= 196 ? 4
           : v <= 237 ? 5
                      : 6;
}
int blueLevel(int v) {
    return v <= 35 ? 0 : v <= 99 ? 1 : v <= 163 ? 2 : v <= 227 ? 3 : 4;
}

RgbQuad rgb(int red, int green, int blue) {
    return RgbQuad{static_cast<uint8_t>(blue), static_cast<uint8_t>(green),
                   static_cast<uint8_t>(red), 0};
}

}  // namespace

std::vector<int> referenceHalftone(const NkDib& dib, bool blackAndWhite) {
    const int w = dib.width();
    const int h = dib.height();
    const std::vector<RgbQuad> source = colors(dib);
    std::vector<std::vector<std::array<int, 3>>> error(
        static_cast<size_t>(h), std::vector<std::array<int, 3>>(static_cast<size_t>(w)));
    auto errorAt = [&](int s, int x, int c) {
        return s < 0 || x < 0 || x >= w ? 0 : error[s][x][c];
    };
    std::vector<int> out(static_cast<size_t>(w * h));
    for (int s = 0; s < h; ++s) {
        const int y = dib.isTopDown() ? s : h - 1 - s;
        std::array<int, 3> running{};
        for (int k = 0; k < w; ++k) {
            const int x = s % 2 == 0 ? k : w - 1 - k;
            const int behind = s % 2 == 0 ? x - 1 : x + 1;
            const RgbQuad& q = source[static_cast<size_t>(y * w + x)];
            const std::array<int, 3> value{q.rgbRed, q.rgbGreen, q.rgbBlue};
            std::array<int, 3> v;
            for (int c = 0; c < 3; ++c) {
                v[c] = value[c] - (12 * errorAt(s - 1, x, c) + 12 * running[c] +
                                   5 * errorAt(s - 1, behind, c)) /
                                      32;
            }
            std::array<int, 3> level;
            int index;
            if (blackAndWhite) {
                index = v[0] + v[1] + v[2] < 384 ? 0 : 1;
                level.fill(index * 255);
            } else {
                level = {kRed[redLevel(v[0])], kGreen[greenLevel(v[1])], kBlue[blueLevel(v[2])]};
                index = redLevel(v[0]) * 35 + greenLevel(v[1]) * 5 + blueLevel(v[2]);
            }
            for (int c = 0; c < 3; ++c) {
                error[s][x][c] = level[c] - v[c];
                running[c] = error[s][x][c];
            }
            out[static_cast<size_t>(y * w + x)] = index;
        }
    }
    return out;
}

std::vector<RgbQuad> referenceHalftonePalette(bool blackAndWhite) {
    if (blackAndWhite) {
        return {rgb(0, 0, 0), rgb(255, 255, 255)};
    }
    std::vector<RgbQuad> palette;
    for (int red : kRed) {
        for (int green : kGreen) {
            for (int blue : kBlue) {
                palette.push_back(rgb(red, green, blue));
            }
        }
    }
    for (const RgbQuad& extra : {rgb(128, 0, 0), rgb(128, 128, 0), rgb(128, 0, 128),
                                 rgb(192, 192, 192), rgb(128, 128, 128)}) {
        palette.push_back(extra);
    }
    return palette;
}

}  // namespace ravinel::testing
