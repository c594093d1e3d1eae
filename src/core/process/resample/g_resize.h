#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// The four ways of changing a picture's size. Each converts src to 24 bit in place
// first, then leaves in dest a 24-bit picture of exactly height x width. dest and src may
// be the same object.

// Area-average reduction, for destinations no larger than the source in either axis
// (an axis asked to grow stays black).
void areaReduce(NkDib& dest, NkDib& src, uint16_t height, uint16_t width);
// Area-weighted enlargement, for destinations no smaller than the source in either axis
// (an axis asked to shrink stays black).
void areaExpand(NkDib& dest, NkDib& src, uint16_t height, uint16_t width);
// Nearest-neighbour stretch: source pixels are dropped or repeated, never mixed.
void stretchDrawResize(NkDib& dest, NkDib& src, uint16_t height, uint16_t width);
// Box stretch: each destination pixel is the rounded mean of the source area it covers.
void halftoneResize(NkDib& dest, NkDib& src, uint16_t height, uint16_t width);

}  // namespace ravinel
