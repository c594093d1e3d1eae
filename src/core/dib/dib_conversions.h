#pragma once

#include <functional>
#include <memory>

#include "dib/nk_internal_dib.h"

namespace ravinel {

// Conversions between the pixel formats of a DIB. Each builds a new store and leaves the
// source untouched, so a failure leaves the picture as it was. The new store keeps the
// source's resolution and row order, except that run-length coded stores are bottom-up.

// Called with the position of a slow conversion, out of the total its caller announced.
using ConversionProgress = std::function<void(int position)>;

// A blank store of the source's size, resolution and colour table. bottomUp forces the
// bottom-up order that run-length data needs; otherwise the source's row order is kept.
std::shared_ptr<NkInternalDib> blankStoreLike(const NkInternalDib& source, int bitCount,
                                              int colorCount, bool bottomUp);

// Plain 4 or 8-bit form of a run-length coded store. Throws NkDibInvalidDibError for
// data that cannot be decoded.
std::shared_ptr<NkInternalDib> expandRunLength(const NkInternalDib& source);

// Run-length coded form of a plain 4 or 8-bit store.
std::shared_ptr<NkInternalDib> compressRunLength(const NkInternalDib& source);

// A plain 1, 4 or 8-bit store at a larger bit count without losing anything: to 4 or 8
// bits the indices and palette are kept, to 24 bits each index is looked up.
std::shared_ptr<NkInternalDib> widenBitCount(const NkInternalDib& source, int bitCount);

// A plain 8-bit store reduced to 4 bits: up to 16 colours chosen from the colours the
// picture uses, weighted by their pixel counts, then the nearest of them for each pixel.
// Reports positions 1 to kReduce8To4ProgressTotal.
inline constexpr int kReduce8To4ProgressTotal = 16;
std::shared_ptr<NkInternalDib> reduce8BitTo4Bit(const NkInternalDib& source,
                                                const ConversionProgress& progress);

}  // namespace ravinel
