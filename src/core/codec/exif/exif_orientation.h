#pragma once

#include <cstdint>
#include <span>

namespace ravinel {

// The value of the orientation tag (0x0112) in the first directory of EXIF data: a TIFF
// structure ("II*\0" or "MM\0*" and the offset of the first directory), optionally after
// the "Exif\0\0" that a JPEG APP1 segment puts before it. 1 (upright) when the data hold no
// such tag, a value outside 1 to 8, or are damaged or cut short; nothing outside data is
// read. The decoder plug-ins build this in too.
int exifOrientation(std::span<const uint8_t> exif);

}  // namespace ravinel
