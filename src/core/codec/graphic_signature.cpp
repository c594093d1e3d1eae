#include "codec/graphic_signature.h"

#include <algorithm>

namespace ravinel {

namespace {

constexpr size_t kHeaderBytes = 10;

bool hasBytes(std::span<const uint8_t> header, size_t offset,
              std::initializer_list<uint8_t> bytes) {
    return std::equal(bytes.begin(), bytes.end(), header.begin() + static_cast<long>(offset));
}

}  // namespace

GraphicKind recognizeGraphicSignature(std::span<const uint8_t> data) {
    if (data.size() < kHeaderBytes) {
        return GraphicKind::gkNone;
    }
    const std::span<const uint8_t> header = data.first(kHeaderBytes);

    if (hasBytes(header, 0, {0xFF, 0xD8, 0xFF, 0xE0}) &&
        hasBytes(header, 6, {'J', 'F', 'I', 'F'})) {
        return GraphicKind::gkJpeg;
    }
    if (hasBytes(header, 0, {0xFF, 0xD8, 0xFF, 0xE1}) &&
        hasBytes(header, 6, {'E', 'x', 'i', 'f'})) {
        return GraphicKind::gkExif;
    }
    if (hasBytes(header, 0, {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A})) {
        return GraphicKind::gkPng;
    }
    if (hasBytes(header, 0, {'B', 'M'})) {
        const uint32_t sizeField =
            static_cast<uint32_t>(header[2]) | static_cast<uint32_t>(header[3]) << 8 |
            static_cast<uint32_t>(header[4]) << 16 | static_cast<uint32_t>(header[5]) << 24;
        if (sizeField == data.size()) {
            return GraphicKind::gkBmp;
        }
    }
    return GraphicKind::gkNone;
}

}  // namespace ravinel
