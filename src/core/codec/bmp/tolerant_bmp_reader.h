#pragma once

#include <cstdint>
#include <span>

#include "codec/decode_limits.h"
#include "dib/nk_dib.h"

namespace ravinel {

// Reads a BMP file image as common BMP readers do, leniently, into a plain DIB:
// 1, 4 and 8-bit pictures keep their palette, 2-bit ones widen to 4-bit indices,
// 16, 24 and 32-bit ones become 24-bit, run-length coded ones are expanded.
// Accepts the header sizes 12, 16, 40, 52, 56, 64, 108 and 124; BI_RGB, BI_RLE8,
// BI_RLE4, BI_BITFIELDS and BI_ALPHABITFIELDS; bottom-up and top-down rows.
// Tolerated: a wrong file-size field, a pixel offset of 0 (the pixels follow the colour
// table), a pixel area cut short (missing pixels stay 0), run-length data that breaks
// off or points outside the picture (decoding stops or clips there).
// Throws GraphicLoadError for what it cannot read: no "BM" signature, an unknown header
// size, bit count or compression, a bad size; PictureTooLargeError, before allocating,
// for a header that declares more than the limits admit.
NkDib readTolerantBmp(std::span<const uint8_t> file, const DecodeLimits& limits = {});

}  // namespace ravinel
