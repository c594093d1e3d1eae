#include "codec/jpeg/jpeg_exif.h"

#include <cstring>

#include "codec/exif/exif_orientation.h"

namespace ravinel {

namespace {

constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kStartOfScan = 0xDA;
constexpr uint8_t kEndOfImage = 0xD9;
constexpr int kUpright = 1;

bool isExifPayload(std::span<const uint8_t> payload) {
    return payload.size() >= 6 && std::memcmp(payload.data(), "Exif\0\0", 6) == 0;
}

}  // namespace

int jpegExifOrientation(std::span<const uint8_t> jpeg) {
    if (jpeg.size() < 2 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
        return kUpright;
    }
    size_t position = 2;
    while (jpeg.size() - position >= 4) {
        if (jpeg[position] != 0xFF) {
            return kUpright;
        }
        const uint8_t marker = jpeg[position + 1];
        if (marker == 0xFF) {
            ++position;  // fill byte before a marker
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) {
            return kUpright;
        }
        const size_t length = size_t{jpeg[position + 2]} << 8 | jpeg[position + 3];
        if (length < 2 || length > jpeg.size() - position - 2) {
            return kUpright;
        }
        const std::span<const uint8_t> payload = jpeg.subspan(position + 4, length - 2);
        if (marker == kApp1 && isExifPayload(payload)) {
            return exifOrientation(payload);
        }
        position += 2 + length;
    }
    return kUpright;
}

}  // namespace ravinel
