#pragma once

#include <cstdint>
#include <span>

namespace ravinel {

// The EXIF orientation of a JPEG: the tag of the first APP1 segment that starts with
// "Exif\0\0", found by walking the segment headers up to the scan. 1 (upright) when there
// is none, or when the walk meets a damaged or cut-short segment first.
int jpegExifOrientation(std::span<const uint8_t> jpeg);

}  // namespace ravinel
