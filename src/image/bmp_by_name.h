#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "image/decode_limits.h"
#include "image/nk_dib.h"

namespace ravinel {

// The picture of a BMP file image, read by the reader its name asks for: a ".dib" file by
// the DIB class's strict reader (its rules and messages), any other by the tolerant
// reader within limits (the strict reader copies no more than the file holds). Throws
// what that reader throws.
NkDib readBmpByName(std::span<const uint8_t> file, const std::string& name,
                    const DecodeLimits& limits = {});

}  // namespace ravinel
