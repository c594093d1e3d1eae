#pragma once

#include <array>
#include <cstdint>

namespace ravinel {

// The vector paths of the normalisation work on the bytes of a row as they lie (blue,
// green, red, blue, ...), one 16-bit lane per byte. A lane computes a sum over the bytes
// at offsets -2..2 around it with weights that depend on which channel it holds, so that
// each lane sees its own pixel's three bytes:
//   luminance 29 b + 150 g + 77 r;
//   the colour difference d = 256 a + b', split so that a and b' fit signed 16 bits:
//   blue  a = b - g,  b' = -34 b + 109 g - 75 r   (222 b - 147 g -  75 r)
//   green a = 0,      b' = -29 b + 105 g - 76 r
//   red   a = r - g,  b' = -29 b + 105 g - 76 r   (-29 b - 151 g + 180 r)
constexpr int kLaneOffsets = 5;  // -2..2

template <int kLanes>
using LaneWeights = std::array<std::array<int16_t, kLanes>, kLaneOffsets>;

// Weights of source channel k for a lane holding channel c: table[c][k].
using ChannelTable = std::array<std::array<int16_t, 3>, 3>;
constexpr ChannelTable kLuminanceTable = {{{29, 150, 77}, {29, 150, 77}, {29, 150, 77}}};
constexpr ChannelTable kHighTable = {{{1, -1, 0}, {0, 0, 0}, {0, -1, 1}}};
constexpr ChannelTable kLowTable = {{{-34, 109, -75}, {-29, 105, -76}, {-29, 105, -76}}};

// The weights of a vector whose first lane holds channel phase.
template <int kLanes>
constexpr LaneWeights<kLanes> laneWeights(const ChannelTable& table, int phase) {
    LaneWeights<kLanes> weights{};
    for (int offset = -2; offset <= 2; ++offset) {
        for (int lane = 0; lane < kLanes; ++lane) {
            const int c = (phase + lane) % 3;
            const int k = c + offset;
            weights[offset + 2][lane] = k >= 0 && k <= 2 ? table[c][k] : int16_t{0};
        }
    }
    return weights;
}

// The weights of the three sums for a vector whose first lane holds channel phase.
template <int kLanes>
struct PhaseWeights {
    LaneWeights<kLanes> luminance;
    LaneWeights<kLanes> high;
    LaneWeights<kLanes> low;
};

template <int kLanes>
constexpr PhaseWeights<kLanes> phaseWeights(int phase) {
    return {laneWeights<kLanes>(kLuminanceTable, phase), laneWeights<kLanes>(kHighTable, phase),
            laneWeights<kLanes>(kLowTable, phase)};
}

}  // namespace ravinel
