#pragma once

#include <vector>

#include "dib/dib_types.h"
#include "dib/nk_dib.h"

namespace ravinel::testing {

// A palette chosen from a picture and the entry of each of its pixels, top row first.
struct PaletteReduction {
    std::vector<RgbQuad> palette;
    std::vector<int> indices;
};

// Palette division written out plainly (sums in extended precision, copies instead of an
// in-place partition) to 2^depth entries at most, over every pixel as a record of weight 1.
PaletteReduction referenceHighQuality(const NkDib& dib, int depth);

// The same division over one record per occupied 5-6-5 cell: its base plus the mean of the
// dropped low bits, weighted by its pixel count.
PaletteReduction referenceFast(const NkDib& dib, int depth);

}  // namespace ravinel::testing
