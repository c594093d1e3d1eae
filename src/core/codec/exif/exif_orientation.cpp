#include "codec/exif/exif_orientation.h"

#include <algorithm>
#include <cstring>

namespace ravinel {

namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr size_t kEntryBytes = 12;
constexpr int kUpright = 1;

// Reads the numbers of a TIFF structure in its byte order; callers check the bounds.
class TiffNumbers {
  public:
    TiffNumbers(std::span<const uint8_t> data, bool bigEndian)
        : data_(data), bigEndian_(bigEndian) {}

    uint32_t u16(size_t offset) const {
        const uint32_t a = data_[offset];
        const uint32_t b = data_[offset + 1];
        return bigEndian_ ? (a << 8 | b) : (b << 8 | a);
    }
    uint32_t u32(size_t offset) const {
        const uint32_t high = bigEndian_ ? u16(offset) : u16(offset + 2);
        const uint32_t low = bigEndian_ ? u16(offset + 2) : u16(offset);
        return high << 16 | low;
    }

  private:
    std::span<const uint8_t> data_;
    bool bigEndian_;
};

bool startsWith(std::span<const uint8_t> data, const char* prefix, size_t length) {
    return data.size() >= length && std::memcmp(data.data(), prefix, length) == 0;
}

// The tag's value from one directory entry: a short or a long, at least one of them.
int orientationOfEntry(const TiffNumbers& numbers, size_t entry) {
    const uint32_t type = numbers.u16(entry + 2);
    if (numbers.u32(entry + 4) < 1) {
        return kUpright;
    }
    uint32_t value = 0;
    if (type == kTypeShort) {
        value = numbers.u16(entry + 8);
    } else if (type == kTypeLong) {
        value = numbers.u32(entry + 8);
    }
    return value >= 1 && value <= 8 ? static_cast<int>(value) : kUpright;
}

}  // namespace

int exifOrientation(std::span<const uint8_t> exif) {
    if (startsWith(exif, "Exif\0\0", 6)) {
        exif = exif.subspan(6);
    }
    const bool bigEndian = startsWith(exif, "MM\0*", 4);
    if (!bigEndian && !startsWith(exif, "II*\0", 4)) {
        return kUpright;
    }
    if (exif.size() < 8) {
        return kUpright;
    }
    const TiffNumbers numbers(exif, bigEndian);
    const uint32_t directory = numbers.u32(4);
    if (directory > exif.size() || exif.size() - directory < 2) {
        return kUpright;
    }
    // Only the entries the data hold are read, whatever count the directory declares.
    const size_t first = directory + 2;
    const size_t entries =
        std::min<size_t>(numbers.u16(directory), (exif.size() - first) / kEntryBytes);
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = first + i * kEntryBytes;
        if (numbers.u16(entry) == kOrientationTag) {
            return orientationOfEntry(numbers, entry);
        }
    }
    return kUpright;
}

}  // namespace ravinel
