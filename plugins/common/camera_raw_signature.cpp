#include "camera_raw_signature.h"

#include <spi_api.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

#include "iso_file_type.h"
#include "spi_exports.h"

namespace ravinel::spi {
namespace {

constexpr std::uint16_t kDngVersionTag = 50706;
constexpr std::size_t kIfdEntryBytes = 12;

// Reads the TIFF header's numbers in the byte order it names.
class TiffHeader {
  public:
    explicit TiffHeader(const void* header)
        : bytes_(static_cast<const std::uint8_t*>(header)), little_(bytes_[0] == 'I') {}

    std::uint32_t number(std::size_t offset, std::size_t size) const {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < size; ++i) {
            const std::size_t at = little_ ? offset + size - 1 - i : offset + i;
            value = value << 8 | bytes_[at];
        }
        return value;
    }

  private:
    const std::uint8_t* bytes_;
    bool little_;
};

// The first directory's tags as far as the header buffer holds them.
bool firstDirectoryHasTag(const void* header, std::uint16_t tag) {
    const TiffHeader tiff(header);
    const std::uint32_t directory = tiff.number(4, 4);
    if (directory < 8 || directory > SPI_HEADER_BYTES - 2) {
        return false;
    }
    const std::uint32_t count = tiff.number(directory, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + i * kIfdEntryBytes;
        if (entry + 2 > SPI_HEADER_BYTES) {
            return false;
        }
        if (tiff.number(entry, 2) == tag) {
            return true;
        }
    }
    return false;
}

// True when the file's extension is one of kCameraRawMasks, in any case.
bool hasCameraRawExtension(const char* fileName) {
    const char* dot = fileName == nullptr ? nullptr : std::strrchr(fileName, '.');
    if (dot == nullptr || dot[1] == '\0') {
        return false;
    }
    std::string mask = "*.";
    for (const char* c = dot + 1; *c != '\0'; ++c) {
        mask += static_cast<char>(*c >= 'A' && *c <= 'Z' ? *c - 'A' + 'a' : *c);
    }
    for (std::size_t start = 0; start < kCameraRawMasks.size();) {
        const std::size_t end = std::min(kCameraRawMasks.find(';', start), kCameraRawMasks.size());
        if (kCameraRawMasks.substr(start, end - start) == mask) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool startsWithAny(const void* header, std::initializer_list<std::string_view> signatures) {
    for (const std::string_view signature : signatures) {
        if (headerStartsWith(header, signature)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isTiffHeader(const void* header) {
    return startsWithAny(header, {{"II*\0", 4}, {"MM\0*", 4}});
}

bool isCameraRaw(const char* fileName, const void* header) {
    if (header == nullptr) {
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(header);
    if (isTiffHeader(header)) {
        return firstDirectoryHasTag(header, kDngVersionTag) ||
               (bytes[0] == 'I' && std::memcmp(bytes + 8, "CR\x02", 3) == 0) ||
               hasCameraRawExtension(fileName);
    }
    // Olympus, Panasonic, Fujifilm, Minolta and Sigma signatures; Canon's CRW heap and
    // CR3 brand.
    return startsWithAny(
               header,
               {"IIRO", "IIRS", "MMOR", {"IIU\0", 4}, "FUJIFILMCCD-RAW", {"\0MRM", 4}, "FOVb"}) ||
           std::memcmp(bytes + 6, "HEAPCCDR", 8) == 0 || fileTypeNamesBrand(header, "crx ");
}

}  // namespace ravinel::spi
