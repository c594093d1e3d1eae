#include "spi_dib.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ravinel::spi {
namespace {

static_assert(sizeof(SpiBitmapV5Header) == 124, "the BITMAPV5HEADER layout");

// Per thread, since a host may decode on several threads with different limits.
thread_local std::int32_t t_maxSide = kDefaultMaxSide;
thread_local std::uint64_t t_maxPixelBytes = kDefaultMaxPixelBytes;

// Rows of 4-byte pixels stride bytes apart, red at redAt and blue at 2 - redAt, into the
// picture's blue, green, red (and alpha) pixels.
void fillBgra(SpiDib& dib, const std::uint8_t* pixels, std::size_t stride, int redAt) {
    const int blueAt = 2 - redAt;
    const int step = dib.bytesPerPixel();
    const bool withAlpha = step == 4;
    for (int y = 0; y < dib.height(); ++y) {
        const std::uint8_t* source = pixels + stride * static_cast<std::size_t>(y);
        std::uint8_t* target = dib.rowFromTop(y);
        for (int x = 0; x < dib.width(); ++x, source += 4, target += step) {
            target[0] = source[blueAt];
            target[1] = source[1];
            target[2] = source[redAt];
            if (withAlpha) {
                target[3] = source[3];
            }
        }
    }
}

}  // namespace

void setDecodeLimits(std::int32_t maxSide, std::int64_t maxPixelBytes) {
    t_maxSide = static_cast<std::int32_t>(std::clamp<std::int64_t>(maxSide, 1, kMaxSide));
    t_maxPixelBytes = static_cast<std::uint64_t>(
        std::clamp<std::int64_t>(maxPixelBytes, 1, static_cast<std::int64_t>(kMaxDecodedBytes)));
}

int checkPictureSize(std::int64_t width, std::int64_t height, unsigned bytesPerPixel) {
    if (width <= 0 || height <= 0 || width > t_maxSide || height > t_maxSide) {
        return SPI_OUT_OF_ORDER;
    }
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bytesPerPixel + 3) & ~3u;
    return rowBytes * static_cast<std::uint64_t>(height) > t_maxPixelBytes ? SPI_NO_MEMORY
                                                                           : SPI_ALL_RIGHT;
}

DecodeLimits currentDecodeLimits() {
    return {t_maxSide, t_maxPixelBytes};
}

SpiDib::~SpiDib() {
    std::free(info_);
    std::free(bits_);
}

int SpiDib::allocate(int width, int height, int bitCount, int paletteSize) {
    width_ = width;
    height_ = height;
    bytesPerPixel_ = bitCount / 8;
    stride_ = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) / 8 + 3) &
              ~std::size_t{3};
    const std::size_t imageBytes = stride_ * static_cast<std::size_t>(height);
    const bool withAlpha = bitCount == 32;
    const std::size_t headerBytes =
        withAlpha ? sizeof(SpiBitmapV5Header) : sizeof(SpiBitmapInfoHeader);
    const std::size_t infoBytes =
        headerBytes + sizeof(SpiRgbQuad) * static_cast<std::size_t>(paletteSize);
    info_ = std::calloc(1, infoBytes);
    // Padding bytes are zeroed so that the host never sees stale memory.
    bits_ = static_cast<std::uint8_t*>(std::calloc(1, imageBytes));
    if (info_ == nullptr || bits_ == nullptr) {
        return SPI_NO_MEMORY;
    }
    SpiBitmapV5Header header{};
    header.info.biSize = static_cast<std::uint32_t>(headerBytes);
    header.info.biWidth = width;
    header.info.biHeight = height;
    header.info.biPlanes = 1;
    header.info.biBitCount = static_cast<std::uint16_t>(bitCount);
    header.info.biCompression = withAlpha ? SPI_BI_BITFIELDS : SPI_BI_RGB;
    header.info.biSizeImage = static_cast<std::uint32_t>(imageBytes);
    header.info.biClrUsed = static_cast<std::uint32_t>(paletteSize);
    if (withAlpha) {
        header.redMask = 0x00FF0000;
        header.greenMask = 0x0000FF00;
        header.blueMask = 0x000000FF;
        header.alphaMask = 0xFF000000;
    }
    std::memcpy(info_, &header, headerBytes);
    return SPI_ALL_RIGHT;
}

SpiRgbQuad* SpiDib::palette() const {
    return reinterpret_cast<SpiRgbQuad*>(static_cast<std::uint8_t*>(info_) +
                                         sizeof(SpiBitmapInfoHeader));
}

std::uint8_t* SpiDib::rowFromTop(int y) const {
    return bits_ + stride_ * static_cast<std::size_t>(height_ - 1 - y);
}

void SpiDib::release(SpiHandle* pHBInfo, SpiHandle* pHBm) {
    *pHBInfo = info_;
    *pHBm = bits_;
    info_ = nullptr;
    bits_ = nullptr;
}

void fillFromBgra(SpiDib& dib, const std::uint8_t* bgra) {
    fillBgra(dib, bgra, static_cast<std::size_t>(dib.width()) * 4, 2);
}

void fillFromRgba(SpiDib& dib, const std::uint8_t* rgba, std::size_t stride) {
    fillBgra(dib, rgba, stride, 0);
}

}  // namespace ravinel::spi
