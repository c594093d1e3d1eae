#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dib/dib_conversions.h"
#include "dib/dib_types.h"

namespace ravinel {

// Colour records that palette division splits: channel 0 red, 1 green, 2 blue.
// A pixel counts once; a weighted record stands for weight pixels of its colour.
struct PixelRecord {
    std::array<uint8_t, 3> rgb;
};
struct WeightedRecord {
    std::array<uint8_t, 3> rgb;
    uint32_t weight;
};

// The result of a division: the palette and the splits that lead each colour to its entry.
class PaletteTree {
  public:
    struct Node {
        int8_t channel = -1;  // -1 for a leaf
        uint8_t threshold = 0;
        uint8_t paletteIndex = 0;
        uint16_t lower = 0;
        uint16_t upper = 0;
    };

    // The entry of a colour that took part in the division: its record's entry.
    uint8_t paletteIndexOf(const std::array<uint8_t, 3>& rgb) const {
        const Node* node = nodes.data();
        while (node->channel >= 0) {
            node = &nodes[rgb[static_cast<size_t>(node->channel)] > node->threshold ? node->upper
                                                                                    : node->lower];
        }
        return node->paletteIndex;
    }

    std::vector<RgbQuad> palette;
    std::vector<Node> nodes;  // the root first
};

// Splits the records into at most 2^depth groups (depth 1 to 8) and makes one palette
// entry, the rounded weighted mean, of each group. A range is split in the channel of
// the largest weighted variance (red before green before blue, with the weights 3, 4, 2)
// at that channel's mean: records at most the mean go to the lower part. Entries follow
// depth first, lower part first. The records are reordered. Reports positions 1 to
// 2^depth, one per group at the full depth, empty ones included.
PaletteTree dividePalette(std::span<PixelRecord> records, int depth,
                          const ConversionProgress& progress);
PaletteTree dividePalette(std::span<WeightedRecord> records, int depth,
                          const ConversionProgress& progress);

}  // namespace ravinel
