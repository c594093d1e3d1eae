#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "dib/dib_types.h"

namespace ravinel {

// A colour table as the words 0x00RRGGBB the row conversion looks up.
using PaletteWords = std::array<uint32_t, kMaxPaletteEntries>;
PaletteWords paletteWords(const std::array<RgbQuad, kMaxPaletteEntries>& colorTable);

// The colours of the first count pixels of a 1, 4 or 8-bit row, as blue, green, red bytes.
void paletteRowToBgr(const uint8_t* in, size_t count, int bitCount, const PaletteWords& words,
                     uint8_t* out);

#if defined(__x86_64__)
// 1 and 4-bit rows on the AVX2 path (their palettes fit one byte shuffle per channel):
// converts whole groups of 16 pixels from the row's start and returns how many pixels.
// 8-bit rows have no vector path: a gathering loop measured no faster than the portable one.
size_t paletteRowToBgrAvx2(const uint8_t* in, size_t count, int bitCount, const PaletteWords& words,
                           uint8_t* out);
#endif

}  // namespace ravinel
