#pragma once

#include <cstdint>
#include <span>

#include "codec/graphic_load_info.h"

namespace ravinel {

// Recognises JPEG (with a JFIF or an Exif segment first), PNG and BMP from the first
// ten bytes of a file; the BMP test also needs the size field to equal the data's
// length. Data shorter than ten bytes is not recognised.
GraphicKind recognizeGraphicSignature(std::span<const uint8_t> data);

}  // namespace ravinel
