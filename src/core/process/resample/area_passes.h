#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// The one-axis passes of areaReduce and areaExpand. dest must already be a 24-bit
// picture of the pass's result size (size along the pass's axis, the source's size along
// the other); src must be 24-bit. Anything else throws std::invalid_argument.
// A reduction pass asked to enlarge, or an enlargement pass asked to reduce, writes
// nothing, so dest keeps the pixels it had (black when freshly sized).

void areaReduceH(NkDib& dest, const NkDib& src, uint16_t width);
void areaReduceV(NkDib& dest, const NkDib& src, uint16_t height);
void areaExpandH(NkDib& dest, const NkDib& src, uint16_t width);
void areaExpandV(NkDib& dest, const NkDib& src, uint16_t height);

}  // namespace ravinel
