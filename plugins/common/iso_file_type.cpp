#include "iso_file_type.h"

#include <spi_api.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace ravinel::spi {

bool fileTypeNamesBrand(const void* header, std::string_view brand) {
    if (header == nullptr || brand.size() != 4) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(header);
    if (std::memcmp(bytes + 4, "ftyp", 4) != 0) {
        return false;
    }
    const std::size_t boxSize = std::size_t{bytes[0]} << 24 | std::size_t{bytes[1]} << 16 |
                                std::size_t{bytes[2]} << 8 | bytes[3];
    // Size, type, major brand and minor version come first; a box that claims less, or
    // more than the header holds, is no file type box we read.
    if (boxSize < 16 || boxSize > SPI_HEADER_BYTES) {
        return false;
    }
    if (std::memcmp(bytes + 8, brand.data(), 4) == 0) {
        return true;
    }
    for (std::size_t at = 16; at + 4 <= boxSize; at += 4) {
        if (std::memcmp(bytes + at, brand.data(), 4) == 0) {
            return true;
        }
    }
    return false;
}

}  // namespace ravinel::spi
