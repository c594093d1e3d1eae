#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "codec/decode_limits.h"
#include "dib/nk_dib.h"

namespace ravinel {

// How libjpeg decodes a picture: the output scale 1/scaleDenominator (1, 2, 4 or 8)
// and the inverse DCT (accurate or fastest).
struct JpegDecodeOptions {
    int scaleDenominator = 1;
    bool fastestDct = false;
};

// Decodes a JPEG held in memory into a 24-bit DIB (colour, grayscale and CMYK sources).
// Throws GraphicLoadError when libjpeg cannot decode the data, PictureTooLargeError when
// the frame header declares more than the limits admit (before anything of the picture is
// allocated). A file cut short decodes to the part that is present; libjpeg fills the
// rest, as common viewers show it. With iccProfile, the ICC profile of the APP2 markers
// goes there (empty when there is none, when its chunks do not fit together or when it
// is larger than a profile may be).
NkDib decodeJpeg(std::span<const uint8_t> data, const JpegDecodeOptions& options,
                 const DecodeLimits& limits = {}, std::vector<uint8_t>* iccProfile = nullptr);

}  // namespace ravinel
