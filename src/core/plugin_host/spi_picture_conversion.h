#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel {

// Turns the picture a plug-in returned (a malloc'd block with the bitmap information
// header and colour table, and one with the pixel rows) into a BMP file image, to be read
// by readTolerantBmp once the caller has freed the blocks: a picture near the size limit
// then never exists three times at once. Nothing the plug-in wrote is trusted: the
// header, bit count (1, 4, 8, 16, 24 or 32), sizes and colour count are checked, and
// neither block is read past its allocated size. A 32-bit picture may declare alpha with
// a BITMAPV4 or V5 header and BI_BITFIELDS, with exactly the masks of blue, green, red and
// alpha bytes (or no alpha mask). Throws GraphicLoadError for a picture that does not
// hold together. The blocks stay the caller's.
std::vector<uint8_t> bmpFileOfSpiPicture(const void* bitmapInfo, const void* bits);

// The alpha of a file image bmpFileOfSpiPicture made, as an 8-bit DIB of the picture's
// size whose indices are the opacities (0 transparent, 255 opaque), row 0 the picture's
// top row; none when the picture declares no alpha or every pixel is opaque.
std::optional<NkDib> alphaOfSpiPicture(std::span<const uint8_t> bmpFile);

}  // namespace ravinel
