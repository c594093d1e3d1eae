#pragma once

#include <vector>

#include "dib/dib_types.h"
#include "dib/nk_dib.h"

namespace ravinel::testing {

// The diffusion written out plainly: every error kept in a full table of storage rows.
// Gives the palette index of each pixel, top row first.
std::vector<int> referenceHalftone(const NkDib& dib, bool blackAndWhite);

// The fixed palette of the 8-bit halftone (215 entries) or of the black-and-white one.
std::vector<RgbQuad> referenceHalftonePalette(bool blackAndWhite);

}  // namespace ravinel::testing
