// Camera RAW files, told apart from the TIFF files many of them are. DNG (its version
// tag in the first directory) and CR2 (its own marker behind the TIFF header) show what
// they are in their first bytes, as do the RAW formats that are no TIFF; the other TIFF
// containers (NEF, ARW, PEF, ...) only by their names.
#pragma once

#include <string_view>

namespace ravinel::spi {

// The extensions of the RAW formats LibRaw reads, as a plug-in's file masks.
constexpr std::string_view kCameraRawMasks =
    "*.dng;*.cr2;*.cr3;*.crw;*.nef;*.nrw;*.arw;*.srf;*.sr2;*.orf;*.rw2;*.raf;*.pef;*.srw;"
    "*.raw;*.rwl;*.3fr;*.erf;*.kdc;*.dcr;*.mrw;*.mos;*.iiq";

// True when the header buffer (the host's SPI_HEADER_BYTES) starts with a classic TIFF
// header in either byte order.
bool isTiffHeader(const void* header);

// True for a camera RAW file: one that shows it by its content, or a TIFF file named
// with one of the extensions above (fileName may be NULL).
bool isCameraRaw(const char* fileName, const void* header);

}  // namespace ravinel::spi
