#pragma once

#include <cstdint>
#include <vector>

namespace ravinel {

// Turns the picture a plug-in returned (a malloc'd block with the bitmap information
// header and colour table, and one with the pixel rows) into a BMP file image, to be read
// by readTolerantBmp once the caller has freed the blocks: a picture near the size limit
// then never exists three times at once. Nothing the plug-in wrote is trusted: the
// header, bit count (1, 4, 8, 16, 24 or 32), sizes and colour count are checked, and
// neither block is read past its allocated size. Throws GraphicLoadError for a picture
// that does not hold together. The blocks stay the caller's.
std::vector<uint8_t> bmpFileOfSpiPicture(const void* bitmapInfo, const void* bits);

}  // namespace ravinel
