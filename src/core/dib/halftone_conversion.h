#pragma once

#include <memory>

#include "dib/nk_internal_dib.h"

namespace ravinel {

// Error-diffusion halftones of a plain 1, 4, 8 or 24-bit store (an indexed pixel counts as
// its palette colour). Each builds a new store of the source's size and row order and
// leaves the source untouched. Any other store throws NkDibBadDibTypeError.

// 8 bits onto the fixed 215-entry palette of 6 red, 7 green and 5 blue levels
// (entry r x 35 + g x 5 + b).
std::shared_ptr<NkInternalDib> convertToHalfTone(const NkInternalDib& source);

// 1 bit, entry 0 black and entry 1 white.
std::shared_ptr<NkInternalDib> convertToHalfToneBW(const NkInternalDib& source);

}  // namespace ravinel
