// The 'ftyp' box that opens an ISO base media file (HEIF, AVIF): the brands it names tell
// which codec the pictures inside need.
#pragma once

#include <string_view>

namespace ravinel::spi {

// True when the header buffer (the host's SPI_HEADER_BYTES) starts with an 'ftyp' box
// that names the four-character brand as its major brand or as a compatible one.
bool fileTypeNamesBrand(const void* header, std::string_view brand);

}  // namespace ravinel::spi
