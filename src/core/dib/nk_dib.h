#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "dib/dib_types.h"
#include "dib/nk_internal_dib.h"

namespace ravinel {

enum class ProgressStage { Starting, Running, Ending };

// The working picture of the program: a device-independent bitmap (1, 4, 8 or 24 bits
// per pixel, 4 and 8 bits optionally run-length coded, rows padded to 4 bytes) whose
// pixel store is shared between copies until one of them writes.
class NkDib {
  public:
    // Conversion methods for PixelFormat writes that reduce a true-colour picture.
    static constexpr uint8_t kConvertFast = 0;
    static constexpr uint8_t kConvertHighQuality = 1;

    // Called while a slow pixel-format conversion runs: the stage, the position out of
    // total, and the conversion's message.
    using ProgressHandler = std::function<void(ProgressStage stage, int position, int total,
                                               const std::string& message)>;

    // A 1 x 1, 8-bit picture with 256 black palette entries.
    NkDib();
    // Copies share the store (the Assign of another DIB); the first write unshares it.
    NkDib(const NkDib& other);
    NkDib& operator=(const NkDib& other);
    NkDib(NkDib&& other) noexcept;
    NkDib& operator=(NkDib&& other) noexcept;
    ~NkDib();

    int32_t width() const { return store_->width; }
    int32_t height() const { return store_->height; }
    int bitCount() const { return store_->header.biBitCount; }
    int paletteSize() const { return static_cast<int>(store_->header.biClrUsed); }
    bool isTopDown() const { return store_->isTopDown(); }
    const BitmapInfoHeader& header() const { return store_->header; }
    size_t stride() const { return store_->stride(); }

    // Replace the store by a blank one; the picture content is not kept.
    void setWidth(int32_t width);
    void setHeight(int32_t height);
    void setBitCount(int bitCount);
    // Sets the number of palette entries (biClrUsed) without touching the pixels.
    void setPaletteSize(int size);

    // The first paletteSize() entries of the colour table.
    std::span<const RgbQuad> palette() const;
    void setPaletteEntry(int index, RgbQuad color);

    // Address of row y (0 is the top row) for writing; unshares the store first.
    uint8_t* scanLine(int y);
    // The same row for reading only; leaves a shared store shared.
    const uint8_t* constScanLine(int y) const;

    NkDibPixelFormat pixelFormat() const { return store_->pixelFormat(); }
    // Converts the picture to the format (values 0 to 7).
    void setPixelFormat(NkDibPixelFormat format);

    uint8_t convertMode() const { return convertMode_; }
    void setConvertMode(uint8_t mode) { convertMode_ = mode; }
    // A colour as 0x00BBGGRR, handed to the conversions.
    uint32_t backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(uint32_t color) { backgroundColor_ = color; }

    // Gives this object a store of its own when the current one is shared.
    void uniqueDib();
    bool sharesStoreWith(const NkDib& other) const { return store_ == other.store_; }

    // Reads a BMP file image. A failed load throws and leaves the previous picture.
    void loadFromStream(std::span<const uint8_t> file);
    void loadFromFile(const std::string& path);
    // Reads a packed DIB (header, colour table, pixels) as the clipboard carries it.
    void loadFromClipboardFormat(std::span<const uint8_t> packedDib);
    // Writes the picture as a BMP file image.
    std::vector<uint8_t> saveToStream() const;
    void saveToFile(const std::string& path) const;
    // Writes a packed DIB as the clipboard carries it.
    std::vector<uint8_t> saveToClipboardFormat() const;

    // Raw pixel block of the store; for the run-length coded formats, the coded data.
    std::span<const uint8_t> pixelBlock() const {
        return {store_->pixels.data(), store_->pixels.size()};
    }

    ProgressHandler onProgress;

  private:
    void replaceStore(int32_t width, int32_t height, int colorCount, int bitCount);
    // Starts progress reporting of a slow conversion under the message and total.
    void beginProgress(const std::string& message, int total);
    void reportProgress(ProgressStage stage, int position);

    std::shared_ptr<NkInternalDib> store_;
    uint8_t convertMode_ = kConvertFast;
    uint32_t backgroundColor_ = 0xFFFFFF;
    std::string progressMessage_;
    int progressTotal_ = 0;
};

}  // namespace ravinel
