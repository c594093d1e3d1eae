#include "plugin_host/spi_picture_conversion.h"

#include <malloc.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codec/graphic_load_error.h"
#include "dib/dib_types.h"
#include "dib/nk_internal_dib.h"

namespace ravinel {

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
// The largest information header a BMP reader knows (BITMAPV5HEADER).
constexpr uint32_t kMaxInfoHeaderBytes = 124;
constexpr uint32_t kV4HeaderBytes = 108;
// Red, green, blue and alpha masks follow the BITMAPINFOHEADER part of a V4 or V5 header.
constexpr std::array<uint32_t, 3> kBgrMasks = {0x00FF0000, 0x0000FF00, 0x000000FF};
constexpr uint32_t kAlphaMask = 0xFF000000;

struct ChannelMasks {
    std::array<uint32_t, 3> colour{};
    uint32_t alpha = 0;
};

// The masks of a header at least as long as a V4 header.
ChannelMasks masksOf(const uint8_t* header) {
    ChannelMasks masks;
    std::memcpy(masks.colour.data(), header + kInfoHeaderBytes, sizeof masks.colour);
    std::memcpy(&masks.alpha, header + kInfoHeaderBytes + sizeof masks.colour, sizeof masks.alpha);
    return masks;
}

// Plain pixels, or 32-bit ones whose masks name the bytes of blue, green, red and alpha
// exactly: other layouts are legal in a BMP file but no plug-in needs them.
void checkCompression(const BitmapInfoHeader& header, const void* bitmapInfo) {
    if (header.biCompression == kBiRgb) {
        return;
    }
    if (header.biCompression != kBiBitfields || header.biBitCount != 32 ||
        (header.biSize != kV4HeaderBytes && header.biSize != kMaxInfoHeaderBytes)) {
        throw GraphicLoadError("Plug-in picture format is not supported");
    }
    const ChannelMasks masks = masksOf(static_cast<const uint8_t*>(bitmapInfo));
    if (masks.colour != kBgrMasks || (masks.alpha != 0 && masks.alpha != kAlphaMask)) {
        throw GraphicLoadError("Plug-in picture channel masks are not supported");
    }
}

void putLe16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void putLe32(uint8_t* at, uint32_t value) {
    putLe16(at, value);
    putLe16(at + 2, value >> 16);
}

bool knownBitCount(uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

}  // namespace

std::vector<uint8_t> bmpFileOfSpiPicture(const void* bitmapInfo, const void* bits) {
    // The blocks' sizes are not handed over; what malloc gave is the most that may be read.
    const size_t infoCapacity = malloc_usable_size(const_cast<void*>(bitmapInfo));
    const size_t bitsCapacity = malloc_usable_size(const_cast<void*>(bits));
    if (infoCapacity < kInfoHeaderBytes) {
        throw GraphicLoadError("Plug-in picture header is cut short");
    }
    BitmapInfoHeader header;
    std::memcpy(&header, bitmapInfo, sizeof header);
    if (header.biSize < kInfoHeaderBytes || header.biSize > kMaxInfoHeaderBytes) {
        throw GraphicLoadError("Plug-in picture header size is invalid");
    }
    if (!knownBitCount(header.biBitCount)) {
        throw GraphicLoadError("Plug-in picture format is not supported");
    }
    // The header's size fits its block, which the masks lie within.
    if (header.biSize > infoCapacity) {
        throw GraphicLoadError("Plug-in picture header is cut short");
    }
    checkCompression(header, bitmapInfo);
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN) {
        throw GraphicLoadError("Plug-in picture width or height is invalid");
    }
    uint32_t colors = header.biClrUsed;
    if (colors == 0 && header.biBitCount <= 8) {
        colors = uint32_t{1} << header.biBitCount;
    }
    if (colors > static_cast<uint32_t>(kMaxPaletteEntries)) {
        throw GraphicLoadError("Plug-in picture colour count is invalid");
    }
    const size_t headerBytes = size_t{header.biSize} + size_t{colors} * sizeof(RgbQuad);
    if (headerBytes > infoCapacity) {
        throw GraphicLoadError("Plug-in picture header is cut short");
    }
    const int64_t rows = header.biHeight < 0 ? -int64_t{header.biHeight} : header.biHeight;
    const uint64_t imageBytes = uint64_t(rows) * dibStride(header.biBitCount, header.biWidth);
    if (imageBytes > NkInternalDib::kMaxPixelBlockBytes) {
        throw GraphicLoadError("Plug-in picture is too large");
    }
    if (imageBytes > bitsCapacity) {
        throw GraphicLoadError("Plug-in picture pixels are cut short");
    }

    // A BMP file image of the picture, to be read back as any BMP file would be.
    const size_t bitsOffset = kFileHeaderBytes + headerBytes;
    std::vector<uint8_t> file(bitsOffset + imageBytes);
    file[0] = 'B';
    file[1] = 'M';
    putLe32(&file[2], static_cast<uint32_t>(file.size()));
    putLe32(&file[10], static_cast<uint32_t>(bitsOffset));
    std::memcpy(&file[kFileHeaderBytes], bitmapInfo, headerBytes);
    header.biClrUsed = colors;
    header.biSizeImage = static_cast<uint32_t>(imageBytes);
    std::memcpy(&file[kFileHeaderBytes], &header, sizeof header);
    std::memcpy(&file[bitsOffset], bits, imageBytes);
    return file;
}

std::optional<NkDib> alphaOfSpiPicture(std::span<const uint8_t> bmpFile) {
    BitmapInfoHeader header;
    std::memcpy(&header, &bmpFile[kFileHeaderBytes], sizeof header);
    if (header.biCompression != kBiBitfields ||
        masksOf(&bmpFile[kFileHeaderBytes]).alpha != kAlphaMask) {
        return std::nullopt;
    }
    uint32_t bitsOffset = 0;
    std::memcpy(&bitsOffset, &bmpFile[10], sizeof bitsOffset);
    const size_t stride = dibStride(32, header.biWidth);
    const int32_t rows = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    NkDib alpha;
    alpha.setWidth(header.biWidth);
    alpha.setHeight(rows);
    bool translucent = false;
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* source = &bmpFile[bitsOffset + static_cast<size_t>(r) * stride];
        // File rows run bottom-up unless the height is negative; the DIB's rows top-down.
        uint8_t* target = alpha.scanLine(header.biHeight < 0 ? r : rows - 1 - r);
        for (int32_t x = 0; x < header.biWidth; ++x) {
            target[x] = source[4 * static_cast<size_t>(x) + 3];
            translucent = translucent || target[x] != 0xFF;
        }
    }
    if (!translucent) {
        return std::nullopt;
    }
    return alpha;
}

}  // namespace ravinel
