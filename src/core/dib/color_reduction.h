#pragma once

#include <memory>

#include "dib/dib_conversions.h"
#include "dib/nk_internal_dib.h"

namespace ravinel {

enum class ColorReductionMethod {
    // Divides the occupied cells of a 5-6-5 bit histogram: its cost after counting does
    // not grow with the picture.
    Fast,
    // Divides the pixels themselves.
    HighQuality,
};

// A plain 24-bit store reduced to 1, 4 or 8 bits with a palette of at most 2^bitCount
// colours chosen from the picture by palette division of that depth (as many entries as
// groups that are not empty). A new store of the source's size and row order; the source
// is untouched. Reports positions 1 to 2^bitCount.
std::shared_ptr<NkInternalDib> reduceTrueColor(const NkInternalDib& source, int bitCount,
                                               ColorReductionMethod method,
                                               const ConversionProgress& progress);

}  // namespace ravinel
