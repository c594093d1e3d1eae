#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "image/dib_types.h"

namespace ravinel {

// A colour table as the words 0x00RRGGBB the row conversion looks up.
using PaletteWords = std::array<uint32_t, kMaxPaletteEntries>;
PaletteWords paletteWords(const std::array<RgbQuad, kMaxPaletteEntries>& colorTable);

// The colours of the first count pixels of a 1, 4 or 8-bit row, as blue, green, red bytes.
// Portable only: a gathering AVX2 loop measured no faster than this one.
void paletteRowToBgr(const uint8_t* in, size_t count, int bitCount, const PaletteWords& words,
                     uint8_t* out);

}  // namespace ravinel
