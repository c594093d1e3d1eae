#include "codec/picture_format.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/file_extension.h"

namespace ravinel {

namespace {

bool hasBytes(std::span<const uint8_t> head, size_t offset, std::initializer_list<uint8_t> bytes) {
    return head.size() >= offset + bytes.size() &&
           std::equal(bytes.begin(), bytes.end(), head.begin() + static_cast<long>(offset));
}

// An ISO media file whose major brand is one of brands.
bool hasBrand(std::span<const uint8_t> head, std::initializer_list<const char*> brands) {
    if (!hasBytes(head, 4, {'f', 't', 'y', 'p'}) || head.size() < 12) {
        return false;
    }
    return std::any_of(brands.begin(), brands.end(), [&](const char* brand) {
        return std::equal(brand, brand + 4, head.begin() + 8);
    });
}

struct KnownFormat {
    const char* name;
    std::vector<std::string> extensions;  // upper case, dot included
    bool (*matches)(std::span<const uint8_t> head);
};

const std::vector<KnownFormat>& knownFormats() {
    static const std::vector<KnownFormat> formats = {
        {"JPEG",
         {".JPG", ".JPEG", ".JPE", ".JFIF"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {0xFF, 0xD8, 0xFF});
         }},
        {"PNG",
         {".PNG"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
         }},
        {"GIF",
         {".GIF"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {'G', 'I', 'F', '8'});
         }},
        {"BMP",
         {".BMP", ".DIB"},
         [](std::span<const uint8_t> h) {
             // "BM" and the length of one of the info headers.
             return hasBytes(h, 0, {'B', 'M'}) && h.size() >= 16 && h[15] == 0 &&
                    std::ranges::count(std::initializer_list<uint8_t>{12, 40, 52, 56, 64, 108, 124},
                                       h[14]) != 0;
         }},
        {"TIFF",
         {".TIF", ".TIFF"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {'I', 'I', 42, 0}) || hasBytes(h, 0, {'M', 'M', 0, 42});
         }},
        {"WebP",
         {".WEBP"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {'R', 'I', 'F', 'F'}) && hasBytes(h, 8, {'W', 'E', 'B', 'P'});
         }},
        {"AVIF",
         {".AVIF"},
         [](std::span<const uint8_t> h) {
             return hasBrand(h, {"avif", "avis"});
         }},
        {"HEIF",
         {".HEIC", ".HEIF", ".HIF"},
         [](std::span<const uint8_t> h) {
             return hasBrand(h, {"heic", "heix", "heim", "heis", "hevc", "mif1", "msf1"});
         }},
        {"JPEG XL",
         {".JXL"},
         [](std::span<const uint8_t> h) {
             return hasBytes(h, 0, {0xFF, 0x0A}) ||
                    hasBytes(h, 0, {0, 0, 0, 0x0C, 'J', 'X', 'L', ' ', 0x0D, 0x0A, 0x87, 0x0A});
         }},
    };
    return formats;
}

}  // namespace

PictureFormat pictureFormatOf(std::span<const uint8_t> head, const std::string& fileName) {
    const std::string extension = upperExtension(fileName);
    for (const KnownFormat& format : knownFormats()) {
        if (format.matches(head)) {
            return {format.name, std::find(format.extensions.begin(), format.extensions.end(),
                                           extension) != format.extensions.end()};
        }
    }
    return {};
}

}  // namespace ravinel
