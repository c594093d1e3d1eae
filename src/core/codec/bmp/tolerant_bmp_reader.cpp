#include "codec/bmp/tolerant_bmp_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "codec/graphic_load_error.h"
#include "dib/channel_mask.h"
#include "dib/conversion_bands.h"
#include "dib/dib_pixel_index.h"
#include "dib/dib_rle.h"
#include "dib/dib_types.h"
#include "dib/pixel_block.h"
#include "platform/byte_reader.h"
#include "platform/parallel_bands.h"

namespace ravinel {

namespace {

constexpr uint32_t kBiAlphaBitfields = 6;

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;  // absolute
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = kBiRgb;
    std::array<uint32_t, 3> masks{};  // red, green, blue
    uint64_t paletteOffset = 0;
    uint64_t paletteEntryBytes = 4;
    uint64_t paletteEntries = 0;  // as the file declares them
    uint64_t pixelOffset = 0;
};

bool isBitfields(uint32_t compression) {
    return compression == kBiBitfields || compression == kBiAlphaBitfields;
}

bool isKnownHeaderSize(uint32_t size) {
    constexpr std::array<uint32_t, 8> kSizes = {12, 16, 40, 52, 56, 64, 108, 124};
    return std::find(kSizes.begin(), kSizes.end(), size) != kSizes.end();
}

void checkFormat(const BmpLayout& layout) {
    const int bits = layout.bitCount;
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 &&
        bits != 32) {
        throw GraphicLoadError("BMP bit count is not supported");
    }
    const uint32_t c = layout.compression;
    const bool ok = c == kBiRgb || (c == kBiRle8 && bits == 8) || (c == kBiRle4 && bits == 4) ||
                    (isBitfields(c) && (bits == 16 || bits == 32));
    if (!ok) {
        throw GraphicLoadError("BMP compression is not supported");
    }
}

BmpLayout readLayout(std::span<const uint8_t> file) {
    ByteReader reader(file);
    if (reader.u16le() != 0x4D42) {
        throw GraphicLoadError("Not a BMP file");
    }
    reader.skip(8);  // the file size field and two reserved words are not trusted
    const uint32_t offBits = reader.u32le();
    const uint32_t headerSize = reader.u32le();
    if (!isKnownHeaderSize(headerSize)) {
        throw GraphicLoadError("BMP header size is not supported");
    }

    BmpLayout layout;
    int64_t height = 0;
    uint32_t colorsUsed = 0;
    uint64_t tableStart = 14 + uint64_t{headerSize};
    if (headerSize == 12) {
        layout.width = reader.u16le();
        height = reader.u16le();
        reader.skip(2);  // planes
        layout.bitCount = reader.u16le();
        layout.paletteEntryBytes = 3;
    } else {
        layout.width = reader.i32le();
        height = reader.i32le();
        reader.skip(2);  // planes
        layout.bitCount = reader.u16le();
        if (headerSize > 16) {
            layout.compression = reader.u32le();
            reader.skip(12);  // image size and resolution
            colorsUsed = reader.u32le();
            reader.skip(4);  // important colours
        }
        // From 52 bytes on (but not the 64-byte OS/2 header) the masks are part of the
        // header; otherwise they follow it.
        const bool masksInHeader = headerSize >= 52 && headerSize != 64;
        if (isBitfields(layout.compression)) {
            for (uint32_t& mask : layout.masks) {
                mask = reader.u32le();
            }
            if (!masksInHeader) {
                tableStart += layout.compression == kBiAlphaBitfields ? 16 : 12;
            }
        }
    }
    checkFormat(layout);
    if (layout.width < 1 || height == 0) {
        throw GraphicLoadError("BMP width or height is invalid");
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (height > INT32_MAX) {
        throw GraphicLoadError("BMP width or height is invalid");
    }
    layout.height = static_cast<int32_t>(height);

    layout.paletteOffset = tableStart;
    if (colorsUsed != 0) {
        layout.paletteEntries = colorsUsed;
    } else if (layout.bitCount <= 8) {
        layout.paletteEntries = uint64_t{1} << layout.bitCount;
    }
    // A pixel offset of 0, or one inside the headers, means the pixels follow the table.
    layout.pixelOffset = offBits >= tableStart
                             ? offBits
                             : tableStart + layout.paletteEntries * layout.paletteEntryBytes;
    if (layout.pixelOffset >= file.size()) {
        throw GraphicLoadError("BMP file has no pixel data");
    }
    return layout;
}

int outputBitCount(int bitCount) {
    if (bitCount == 2) {
        return 4;
    }
    return bitCount > 8 ? 24 : bitCount;
}

bool isRunLength(uint32_t compression) {
    return compression == kBiRle8 || compression == kBiRle4;
}

NkDib createPicture(const BmpLayout& layout, std::span<const uint8_t> file) {
    NkDib picture;
    picture.setBitCount(outputBitCount(layout.bitCount));
    picture.setWidth(layout.width);
    picture.setHeight(layout.height);
    if (layout.bitCount <= 8) {
        // Every index the pixels can hold gets an entry; those the file lacks stay black.
        const uint64_t used =
            std::min<uint64_t>(layout.paletteEntries, uint64_t{1} << layout.bitCount);
        for (uint64_t i = 0; i < used; ++i) {
            const uint64_t at = layout.paletteOffset + i * layout.paletteEntryBytes;
            if (at + 3 > file.size()) {
                break;
            }
            picture.setPaletteEntry(static_cast<int>(i),
                                    RgbQuad{file[at], file[at + 1], file[at + 2], 0});
        }
    }
    return picture;
}

// Uncompressed rows; a row cut short by the end of the file is filled as far as it goes.
void readPlainRows(const BmpLayout& layout, std::span<const uint8_t> file, NkDib& picture) {
    const size_t srcStride = dibStride(layout.bitCount, layout.width);
    const size_t width = static_cast<size_t>(layout.width);
    const MaskedPixels pixels(
        isBitfields(layout.compression) ? layout.masks : defaultChannelMasks(layout.bitCount),
        layout.bitCount);
    picture.scanLine(0);  // unshares the store before the threads write into its rows
    auto readRows = [&](size_t first, size_t end) {
        for (size_t r = first; r < end; ++r) {
            const uint64_t start = layout.pixelOffset + uint64_t(r) * srcStride;
            if (start >= file.size()) {
                break;
            }
            const size_t available =
                static_cast<size_t>(std::min<uint64_t>(srcStride, file.size() - start));
            const uint8_t* src = file.data() + start;
            const auto row = static_cast<int32_t>(r);
            uint8_t* dst = picture.scanLine(layout.topDown ? row : layout.height - 1 - row);
            switch (layout.bitCount) {
                case 2:
                    for (size_t x = 0; x < width && x / 4 < available; ++x) {
                        const auto index =
                            static_cast<uint8_t>(src[x / 4] >> (6 - 2 * (x % 4)) & 3u);
                        setPaletteIndex(dst, static_cast<int64_t>(x), 4, index);
                    }
                    break;
                case 16:
                case 32:
                    pixels.toBgr(src, std::min(width, available / (layout.bitCount / 8)), dst);
                    break;
                default:  // 1, 4, 8 and 24 bits: the same row layout as the DIB's
                    std::memcpy(dst, src, available);
                    break;
            }
        }
    };
    // Only the masked pixels cost enough to share out.
    const bool masked = layout.bitCount == 16 || layout.bitCount == 32;
    forEachBand(static_cast<size_t>(layout.height),
                masked ? conversionBandRows(layout.width) : static_cast<size_t>(layout.height),
                readRows);
}

// Expands BI_RLE8 or BI_RLE4 data. Pixels outside the picture are dropped; data that
// breaks off ends the picture there.
void readRunLengthRows(const BmpLayout& layout, std::span<const uint8_t> file, NkDib& picture) {
    const size_t stride = picture.stride();
    const size_t rows = static_cast<size_t>(layout.height);
    PixelBlock plain(stride * rows);  // bottom-up, as the coded rows come
    const std::span<const uint8_t> coded = file.subspan(static_cast<size_t>(layout.pixelOffset));
    const std::span<uint8_t> block(plain.data(), plain.size());
    if (layout.compression == kBiRle4) {
        expandRle4(coded, layout.width, layout.height, block, RleMode::Tolerant);
    } else {
        expandRle8(coded, layout.width, layout.height, block, RleMode::Tolerant);
    }
    for (size_t r = 0; r < rows; ++r) {
        const int y = static_cast<int>(layout.topDown ? r : rows - 1 - r);
        std::memcpy(picture.scanLine(y), plain.data() + r * stride, stride);
    }
}

}  // namespace

NkDib readTolerantBmp(std::span<const uint8_t> file, const DecodeLimits& limits) {
    BmpLayout layout;
    try {
        layout = readLayout(file);
    } catch (const StreamReadError&) {
        throw GraphicLoadError("BMP header is cut short");
    }
    // Run-length data are expanded into a block of the picture's size first.
    const int bits = outputBitCount(layout.bitCount);
    const bool runLength = isRunLength(layout.compression);
    const MemoryBudget::Reservation share =
        limits.admit(layout.width, layout.height, bits,
                     runLength ? pixelStoreBytes(layout.width, layout.height, bits) : 0);
    NkDib picture = createPicture(layout, file);
    if (runLength) {
        readRunLengthRows(layout, file, picture);
    } else {
        readPlainRows(layout, file, picture);
    }
    return picture;
}

}  // namespace ravinel
