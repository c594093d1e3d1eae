#include "dib/nk_internal_dib.h"

#include <cstdlib>
#include <cstring>

#include "dib/nk_dib_error.h"

namespace ravinel {

void NkInternalDib::checkBlockSize(uint64_t size) {
    if (size > kMaxPixelBlockBytes) {
        throw NkDibInvalidDibError("TNkInternalDIB.CreateDIB: Picture is too large");
    }
}

std::shared_ptr<NkInternalDib> NkInternalDib::createDib(int32_t width, int32_t height,
                                                        int colorCount, int bitCount) {
    const bool bitCountOk = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24;
    if (width <= 0 || height == 0 || colorCount < 0 || colorCount > kMaxPaletteEntries ||
        !bitCountOk) {
        throw NkDibInvalidDibParaError("TNkInternalDIB.CreateDIB: Invalid Parameters");
    }
    const uint64_t rows = static_cast<uint64_t>(std::abs(static_cast<int64_t>(height)));
    const uint64_t size = rows * dibStride(bitCount, width);
    checkBlockSize(size);

    auto store = std::make_shared<NkInternalDib>();
    store->width = width;
    store->height = static_cast<int32_t>(rows);
    store->header.biWidth = width;
    store->header.biHeight = height;
    store->header.biBitCount = static_cast<uint16_t>(bitCount);
    store->header.biClrUsed = static_cast<uint32_t>(colorCount);
    store->pixels = PixelBlock(static_cast<size_t>(size));
    return store;
}

std::shared_ptr<NkInternalDib> NkInternalDib::clone() const {
    auto copy = std::make_shared<NkInternalDib>();
    copy->width = width;
    copy->height = height;
    copy->header = header;
    copy->colorTable = colorTable;
    copy->masks = masks;
    copy->pixels = PixelBlock(pixels.size());
    std::memcpy(copy->pixels.data(), pixels.data(), pixels.size());
    copy->paletteModified = true;
    copy->useFmo = useFmo;
    return copy;
}

NkDibPixelFormat NkInternalDib::pixelFormat() const {
    const uint32_t c = header.biCompression;
    switch (header.biBitCount) {
        case 1:
            if (c == kBiRgb)
                return NkDibPixelFormat::pf1Bit;
            throw NkDibInvalidDibError("TNkInternalDIB.GetPixelFormat: Invalid DIB(1Bit)");
        case 4:
            if (c == kBiRgb)
                return NkDibPixelFormat::pf4Bit;
            if (c == kBiRle4)
                return NkDibPixelFormat::pf4BitRle;
            throw NkDibInvalidDibError("TNkInternalDIB.GetPixelFormat: Invalid DIB(4Bit)");
        case 8:
            if (c == kBiRgb)
                return NkDibPixelFormat::pf8Bit;
            if (c == kBiRle8)
                return NkDibPixelFormat::pf8BitRle;
            throw NkDibInvalidDibError("TNkInternalDIB.GetPixelFormat: Invalid DIB(8Bit)");
        case 24:
            if (c == kBiRgb)
                return NkDibPixelFormat::pf24Bit;
            throw NkDibInvalidDibError("TNkInternalDIB.GetPixelFormat: Invalid DIB(24Bit)");
        default:
            throw NkDibInvalidDibError(
                "TNkInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)");
    }
}

}  // namespace ravinel
