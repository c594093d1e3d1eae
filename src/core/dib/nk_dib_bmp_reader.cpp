#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "dib/channel_mask.h"
#include "dib/conversion_bands.h"
#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"
#include "platform/byte_reader.h"
#include "platform/file_bytes.h"
#include "platform/parallel_bands.h"

namespace ravinel {
namespace {

constexpr uint16_t kBmpFileType = 0x4D42;  // "BM"
constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kCoreHeaderSize = 12;
// A 32-bit file holds 4/3 of the bytes of its 24-bit picture; the rest is headers and
// colour table.
constexpr uint64_t kMaxFileBytes = NkInternalDib::kMaxPixelBlockBytes / 3 * 4 + (1u << 20);

// Where the data come from; the clipboard has its own messages and no file header.
struct Origin {
    bool clipboard = false;
    uint32_t bfSize = 0;
    uint32_t bfOffBits = 0;
};

[[noreturn]] void invalidClipboardData() {
    throw NkDibInvalidDibError("TNkDIB.LoadFromClipboardFormat: Invalid Clipboard Data");
}

bool isReadableBitCount(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the 40 or 12-byte header and the colour table into store, with biClrUsed
// capped at the 256 entries a table holds. Returns the bytes of header and table.
uint64_t readHeaderAndTable(ByteReader& r, const Origin& origin, NkInternalDib& store) {
    BitmapInfoHeader& h = store.header;
    const uint32_t headerSize = r.u32le();
    if (origin.clipboard && headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) {
        invalidClipboardData();
    }
    if (headerSize == kInfoHeaderSize) {
        h.biWidth = r.i32le();
        h.biHeight = r.i32le();
        h.biPlanes = r.u16le();
        h.biBitCount = r.u16le();
        h.biCompression = r.u32le();
        h.biSizeImage = r.u32le();
        h.biXPelsPerMeter = r.i32le();
        h.biYPelsPerMeter = r.i32le();
        h.biClrUsed = r.u32le();
        h.biClrImportant = r.u32le();
        if (h.biXPelsPerMeter == 0) {
            h.biXPelsPerMeter = kDefaultPelsPerMeter;
        }
        if (h.biYPelsPerMeter == 0) {
            h.biYPelsPerMeter = kDefaultPelsPerMeter;
        }
        if (!isReadableBitCount(h.biBitCount)) {
            if (origin.clipboard) {
                throw NkDibInvalidDibError(
                    "TNkInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
            }
            throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Invalid BitCout");
        }
        if (h.biClrUsed == 0 && h.biBitCount <= 8) {
            h.biClrUsed = 1u << h.biBitCount;
        }
        uint64_t tableBytes = uint64_t{4} * h.biClrUsed;
        if (h.biCompression == kBiBitfields) {
            for (uint32_t& mask : store.masks) {
                mask = r.u32le();
            }
            tableBytes += 12;
        }
        const uint32_t kept = std::min<uint32_t>(h.biClrUsed, kMaxPaletteEntries);
        for (uint32_t i = 0; i < kept; ++i) {
            const auto q = r.bytes(4);
            store.colorTable[i] = RgbQuad{q[0], q[1], q[2], q[3]};
        }
        r.skip(static_cast<size_t>(uint64_t{4} * (h.biClrUsed - kept)));
        h.biClrUsed = kept;
        return kInfoHeaderSize + tableBytes;
    }
    if (headerSize == kCoreHeaderSize) {
        const uint16_t width = r.u16le();
        const uint16_t height = r.u16le();
        const uint16_t planes = r.u16le();
        const uint16_t bits = r.u16le();
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24) {
            if (origin.clipboard) {
                throw NkDibInvalidDibError(
                    "TNkInternalDIB.LoadFromClipboardFormat: Invalid biBitCount");
            }
            throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Invalid BitCount");
        }
        const uint32_t entries = bits == 24 ? 0 : 1u << bits;
        for (uint32_t i = 0; i < entries; ++i) {
            const auto t = r.bytes(3);
            store.colorTable[i] = RgbQuad{t[0], t[1], t[2], 0};
        }
        h = BitmapInfoHeader{};
        h.biWidth = width;
        h.biHeight = height;
        h.biPlanes = planes;
        h.biBitCount = bits;
        // The palette size of this class is biClrUsed, so the implied table size is
        // written out.
        h.biClrUsed = entries;
        return kCoreHeaderSize + uint64_t{3} * entries;
    }
    throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Invalid Bitmap Header Size");
}

// The pixel bytes that follow header and table, as far as the source says they reach.
// Plain rows are checked against the picture's needs later, so a file cut short after
// its last row still loads; run-length data have no such check and must be whole.
std::span<const uint8_t> pixelData(ByteReader& r, const Origin& origin, uint64_t headerBytes,
                                   bool runLength) {
    if (origin.clipboard) {
        return r.bytes(r.remaining());
    }
    if (origin.bfOffBits < kFileHeaderSize + headerBytes) {
        throw NkDibInvalidDibFileError("TNkInternalDIB.LoadFromFile: bfOffBits is too small");
    }
    r.seek(origin.bfOffBits);
    if (origin.bfSize < origin.bfOffBits) {
        throw NkDibInvalidDibFileError("TNkInternalDIB.LoadFromFile: bfSize is too small");
    }
    const uint64_t claimed = origin.bfSize - origin.bfOffBits;
    if (runLength && claimed > r.remaining()) {
        throw StreamReadError();
    }
    return r.bytes(static_cast<size_t>(std::min<uint64_t>(claimed, r.remaining())));
}

[[noreturn]] void pixelDataTooShort(const Origin& origin) {
    if (origin.clipboard) {
        invalidClipboardData();
    }
    throw NkDibInvalidDibFileError("TNkInternalDIB.LoadFromFile: Pixel data is too short");
}

// 16 and 32-bit pixels become 24-bit ones, row by row in the file's row order.
void convertTo24Bit(std::span<const uint8_t> data, const Origin& origin, NkInternalDib& store) {
    BitmapInfoHeader& h = store.header;
    const std::array<uint32_t, 3> masks =
        h.biCompression == kBiBitfields ? store.masks : defaultChannelMasks(h.biBitCount);
    if (std::find(masks.begin(), masks.end(), 0u) != masks.end()) {
        throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Invalid Masks");
    }
    const MaskedPixels pixels(masks, h.biBitCount);

    const size_t sourceStride = dibStride(h.biBitCount, store.width);
    if (data.size() / sourceStride < static_cast<size_t>(store.height)) {
        pixelDataTooShort(origin);
    }
    h.biBitCount = 24;
    h.biCompression = kBiRgb;
    h.biSizeImage = 0;
    const size_t stride = store.stride();
    store.pixels = PixelBlock(stride * static_cast<size_t>(store.height));
    forEachBand(static_cast<size_t>(store.height), conversionBandRows(store.width),
                [&](size_t first, size_t end) {
                    for (size_t y = first; y < end; ++y) {
                        pixels.toBgr(data.data() + y * sourceStride,
                                     static_cast<size_t>(store.width),
                                     store.pixels.data() + y * stride);
                    }
                });
}

// Everything after the file header: header, table, pixels. Every check runs here, on a
// store nobody else sees yet.
std::shared_ptr<NkInternalDib> readDib(ByteReader& r, const Origin& origin) {
    auto store = std::make_shared<NkInternalDib>();
    const uint64_t headerBytes = readHeaderAndTable(r, origin, *store);
    BitmapInfoHeader& h = store->header;
    const bool runLength = h.biCompression == kBiRle8 || h.biCompression == kBiRle4;
    const std::span<const uint8_t> data = pixelData(r, origin, headerBytes, runLength);

    if (h.biWidth < 1 || h.biHeight == 0) {
        throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Invalid Width or Height");
    }
    const int outBits = h.biBitCount == 16 || h.biBitCount == 32 ? 24 : h.biBitCount;
    const uint64_t rows = static_cast<uint64_t>(std::abs(static_cast<int64_t>(h.biHeight)));
    if (rows * dibStride(outBits, h.biWidth) > NkInternalDib::kMaxPixelBlockBytes) {
        throw NkDibInvalidDibError("TNkInternalDIB.LoadFromStream: Picture is too large");
    }
    store->width = h.biWidth;
    store->height = static_cast<int32_t>(rows);

    if (outBits != h.biBitCount) {
        convertTo24Bit(data, origin, *store);
        return store;
    }
    // Refuses compressions the bit count cannot have (a 24-bit RLE, 8-bit bit fields...).
    const NkDibPixelFormat format = store->pixelFormat();
    if (format == NkDibPixelFormat::pf4BitRle || format == NkDibPixelFormat::pf8BitRle) {
        if (h.biHeight < 0) {
            throw NkDibInvalidDibError(
                "TNkInternalDIB.LoadFromStream: Run-length coded data cannot be top-down");
        }
        NkInternalDib::checkBlockSize(data.size());
        h.biSizeImage = static_cast<uint32_t>(data.size());
        store->pixels = PixelBlock(data.size());
        std::memcpy(store->pixels.data(), data.data(), data.size());
        return store;
    }
    // Plain rows: exactly what scanLine reaches, however much more the file claims.
    const size_t needed = static_cast<size_t>(rows) * store->stride();
    if (data.size() < needed) {
        pixelDataTooShort(origin);
    }
    store->pixels = PixelBlock(needed);
    std::memcpy(store->pixels.data(), data.data(), needed);
    return store;
}

}  // namespace

void NkDib::loadFromStream(std::span<const uint8_t> file) {
    std::shared_ptr<NkInternalDib> loaded;
    try {
        ByteReader r(file);
        Origin origin;
        if (r.u16le() != kBmpFileType) {
            throw NkDibInvalidDibFileError("TNkInternalDIB.LoadFromFile: File type is invalid");
        }
        origin.bfSize = r.u32le();
        r.skip(4);  // reserved
        origin.bfOffBits = r.u32le();
        loaded = readDib(r, origin);
    } catch (const StreamReadError&) {
        throw NkDibInvalidDibFileError("TNkInternalDIB.LoadFromStream: Stream read error");
    }
    loaded->useFmo = store_->useFmo;
    store_ = std::move(loaded);
}

void NkDib::loadFromClipboardFormat(std::span<const uint8_t> packedDib) {
    std::shared_ptr<NkInternalDib> loaded;
    try {
        ByteReader r(packedDib);
        loaded = readDib(r, Origin{.clipboard = true});
    } catch (const StreamReadError&) {
        invalidClipboardData();
    }
    loaded->useFmo = store_->useFmo;
    store_ = std::move(loaded);
}

void NkDib::loadFromFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    try {
        bytes = readFileBytes(path, kMaxFileBytes);
    } catch (const FileReadError& e) {
        throw NkDibInvalidDibFileError(std::string("TNkInternalDIB.LoadFromFile: ") + e.what());
    }
    loadFromStream(bytes);
}

}  // namespace ravinel
