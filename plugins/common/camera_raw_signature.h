// Camera RAW files that announce themselves in their first bytes. Many RAW formats are
// TIFF containers; those told apart here are DNG (its version tag in the first directory)
// and CR2 (its own marker behind the TIFF header), so that the TIFF plug-in can leave
// them to the RAW plug-in.
#pragma once

namespace ravinel::spi {

// True when the header buffer (the host's SPI_HEADER_BYTES) starts with a classic TIFF
// header in either byte order.
bool isTiffHeader(const void* header);

// True when the header buffer shows a camera RAW file by its content alone.
bool isCameraRawSignature(const void* header);

}  // namespace ravinel::spi
