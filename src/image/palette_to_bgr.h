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
void paletteRowToBgr(const uint8_t* in, size_t count, int bitCount, const PaletteWords& words,
                     uint8_t* out);

#if defined(__x86_64__)
// The 8-bit rows on the AVX2 path: converts pixels from the row's start and returns how
// many. Writes up to four bytes past them, so stops two pixels before the end.
size_t paletteRow8ToBgrAvx2(const uint8_t* in, size_t count, const PaletteWords& words,
                            uint8_t* out);
#endif

}  // namespace ravinel
