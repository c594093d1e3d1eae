#include "dib/nk_dib.h"

#include <utility>

#include "dib/nk_dib_error.h"

namespace ravinel {

NkDib::NkDib() : store_(NkInternalDib::createDib(1, 1, kMaxPaletteEntries, 8)) {}

NkDib::NkDib(const NkDib& other)
    : store_(other.store_),
      convertMode_(other.convertMode_),
      backgroundColor_(other.backgroundColor_) {}

NkDib& NkDib::operator=(const NkDib& other) {
    if (this != &other) {
        store_ = other.store_;
        convertMode_ = other.convertMode_;
        backgroundColor_ = other.backgroundColor_;
    }
    return *this;
}

// A moved-from object gets a fresh default store: an NkDib always has one.
NkDib::NkDib(NkDib&& other) noexcept
    : store_(std::exchange(other.store_, NkInternalDib::createDib(1, 1, kMaxPaletteEntries, 8))),
      convertMode_(other.convertMode_),
      backgroundColor_(other.backgroundColor_) {}

NkDib& NkDib::operator=(NkDib&& other) noexcept {
    if (this != &other) {
        store_ = std::exchange(other.store_, NkInternalDib::createDib(1, 1, kMaxPaletteEntries, 8));
        convertMode_ = other.convertMode_;
        backgroundColor_ = other.backgroundColor_;
    }
    return *this;
}

NkDib::~NkDib() = default;

void NkDib::replaceStore(int32_t width, int32_t height, int colorCount, int bitCount) {
    // Keep the storage direction of the current picture.
    const int32_t signedHeight = store_->isTopDown() ? -height : height;
    auto fresh = NkInternalDib::createDib(width, signedHeight, colorCount, bitCount);
    fresh->useFmo = store_->useFmo;
    store_ = std::move(fresh);
}

void NkDib::setWidth(int32_t width) {
    if (width < 1) {
        throw NkDibInvalidDibParaError("TNkDIB.SetWidth: Invalid Width");
    }
    if (width != store_->width) {
        replaceStore(width, store_->height, paletteSize(), bitCount());
    }
}

void NkDib::setHeight(int32_t height) {
    if (height < 1) {
        throw NkDibInvalidDibParaError("TNkDIB.SetWidth: Invalid Height");
    }
    if (height != store_->height) {
        replaceStore(store_->width, height, paletteSize(), bitCount());
    }
}

void NkDib::setBitCount(int bitCount) {
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24) {
        throw NkDibInvalidDibParaError("TNkDIB.SetBitCount: Invalid BitCount");
    }
    if (bitCount != this->bitCount()) {
        replaceStore(store_->width, store_->height, bitCount == 24 ? 0 : 1 << bitCount, bitCount);
    }
}

void NkDib::setPaletteSize(int size) {
    if (bitCount() == 24) {
        if (size < 0 || size > kMaxPaletteEntries) {
            throw NkDibPaletteIndexRangeError(
                "TNkDIB.SetPaletteSize: Palette Index is Out of Range 1");
        }
    } else if (size < 1 || size > kMaxPaletteEntries) {
        throw NkDibPaletteIndexRangeError("TNkDIB.SetPaletteSize: Palette Index is Out of Range 2");
    }
    // A write that changes nothing keeps the store shared: the pipeline clears the palette
    // size of every 24-bit picture it takes, and a copy of a large picture is not free.
    if (store_->header.biClrUsed == static_cast<uint32_t>(size) &&
        store_->header.biClrImportant == 0) {
        return;
    }
    uniqueDib();
    store_->header.biClrUsed = static_cast<uint32_t>(size);
    store_->header.biClrImportant = 0;
    store_->paletteModified = true;
}

std::span<const RgbQuad> NkDib::palette() const {
    return {store_->colorTable.data(), static_cast<size_t>(paletteSize())};
}

void NkDib::setPaletteEntry(int index, RgbQuad color) {
    if (index < 0 || index >= paletteSize()) {
        throw NkDibPaletteIndexRangeError("TNkDIB.SetPaletteEntry: Palette Index is Out of Range");
    }
    uniqueDib();
    store_->colorTable[static_cast<size_t>(index)] = color;
    store_->paletteModified = true;
}

const uint8_t* NkDib::constScanLine(int y) const {
    if (y < 0 || y >= store_->height) {
        throw NkDibPixelPositionRangeError("TNkDIB.GetScanLine: y is Out of Range");
    }
    const uint32_t c = store_->header.biCompression;
    if (c == kBiRle4 || c == kBiRle8) {
        throw NkDibBadDibTypeError("TNkDIB.GetScanLine: Bad DIB Type");
    }
    const size_t row =
        store_->isTopDown() ? static_cast<size_t>(y) : static_cast<size_t>(store_->height - 1 - y);
    return store_->pixels.data() + row * store_->stride();
}

uint8_t* NkDib::scanLine(int y) {
    // Check before unsharing, so a bad call does not copy the picture.
    const uint8_t* row = constScanLine(y);
    if (store_.use_count() == 1) {
        return const_cast<uint8_t*>(row);
    }
    uniqueDib();
    return const_cast<uint8_t*>(constScanLine(y));
}

void NkDib::uniqueDib() {
    if (store_.use_count() > 1) {
        store_ = store_->clone();
    }
}

void NkDib::beginProgress(const std::string& message, int total) {
    progressMessage_ = message;
    progressTotal_ = total;
    reportProgress(ProgressStage::Starting, 0);
}

void NkDib::reportProgress(ProgressStage stage, int position) {
    if (onProgress) {
        onProgress(stage, position, progressTotal_, progressMessage_);
    }
}

}  // namespace ravinel
