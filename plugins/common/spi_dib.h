// The two malloc'd blocks a plug-in returns: BITMAPINFOHEADER plus colour table (or a
// BITMAPV5HEADER declaring alpha), and the pixel rows bottom-up.
#pragma once

#include <spi_api.h>

#include <cstddef>
#include <cstdint>

namespace ravinel::spi {

// The most any host may allow: the sides a bitmap header holds, and 1 GiB of pixels.
constexpr std::int64_t kMaxSide = 65535;
constexpr std::uint64_t kMaxDecodedBytes = std::uint64_t{1} << 30;
// Until the host says otherwise: what Ravinel allows a picture it shows.
constexpr std::int32_t kDefaultMaxSide = 4096;
constexpr std::int64_t kDefaultMaxPixelBytes = std::int64_t{256} << 20;
// One block a format library allocates on its own (strip buffers): enough for any
// picture within the default sides, whatever limit the host sets on the pixels.
constexpr std::uint64_t kMaxLibraryBlockBytes = std::uint64_t{256} << 20;

// The host's limits for the pictures this thread decodes next (SetDecodeLimits), cut to
// 1..kMaxSide and 1..kMaxDecodedBytes. Each thread starts with the defaults.
void setDecodeLimits(std::int32_t maxSide, std::int64_t maxPixelBytes);

// SPI_ALL_RIGHT when a picture of this size and bytes per pixel may be decoded under this
// thread's limits: SPI_OUT_OF_ORDER for empty or oversized sides, SPI_NO_MEMORY when its
// largest pixel buffer passes the byte limit. Decoders ask before they allocate pixels.
int checkPictureSize(std::int64_t width, std::int64_t height, unsigned bytesPerPixel);

// This thread's limits, for format libraries that bound their own decoding.
struct DecodeLimits {
    std::int32_t maxSide;
    std::uint64_t maxPixelBytes;
};
DecodeLimits currentDecodeLimits();

// The blocks under construction; freed unless handed to the host by release().
class SpiDib {
  public:
    SpiDib() = default;
    SpiDib(const SpiDib&) = delete;
    SpiDib& operator=(const SpiDib&) = delete;
    ~SpiDib();

    // Allocates both blocks for an 8-bit (paletteSize entries), a 24-bit or a 32-bit
    // picture; 32 bits are blue, green, red and straight alpha, declared by a V5 header.
    // Returns an SPI_ code; the sizes must have passed checkPictureSize.
    int allocate(int width, int height, int bitCount, int paletteSize);

    SpiRgbQuad* palette() const;
    // Row y counted from the top of the picture.
    std::uint8_t* rowFromTop(int y) const;
    std::size_t stride() const { return stride_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int bytesPerPixel() const { return bytesPerPixel_; }

    // Hands both blocks to the host.
    void release(SpiHandle* pHBInfo, SpiHandle* pHBm);

  private:
    void* info_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::size_t stride_ = 0;
    int width_ = 0;
    int height_ = 0;
    int bytesPerPixel_ = 0;
};

// Fills a 24 or 32-bit picture from blue, green, red, alpha rows (top row first, 4 bytes
// a pixel, no padding); a 24-bit one drops the alpha, which the caller knows is opaque.
void fillFromBgra(SpiDib& dib, const std::uint8_t* bgra);
// The same from red, green, blue, alpha rows that lie stride bytes apart.
void fillFromRgba(SpiDib& dib, const std::uint8_t* rgba, std::size_t stride);

}  // namespace ravinel::spi
