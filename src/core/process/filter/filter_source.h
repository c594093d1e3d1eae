#pragma once

#include "dib/nk_dib.h"

namespace ravinel {

// A copy of src that the filters can read three bytes per pixel from: a shared copy when
// src is already 24-bit, else a widened one. Taking it first also lets dest be src.
NkDib filterSource(const NkDib& src);

// Gives dest the size of src at 24 bits (bit count, then height, then width).
void sizeLike(NkDib& dest, const NkDib& src);

}  // namespace ravinel
