#pragma once

#include <cstddef>
#include <cstdint>

namespace ravinel {

// A zero-filled block of pixel bytes. Large blocks are mapped straight from the system
// on huge pages: a fresh picture is written page by page, and small pages make that
// first touch cost more than the work on the pixels (about 3 ms per megabyte here).
class PixelBlock {
  public:
    PixelBlock() = default;
    // Throws OutOfResourcesError when the memory cannot be had.
    explicit PixelBlock(size_t size);
    PixelBlock(PixelBlock&& other) noexcept;
    PixelBlock& operator=(PixelBlock&& other) noexcept;
    PixelBlock(const PixelBlock&) = delete;
    PixelBlock& operator=(const PixelBlock&) = delete;
    ~PixelBlock();

    uint8_t* data() { return data_; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    void release() noexcept;

    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t mappedBytes_ = 0;  // 0 for a heap block
};

}  // namespace ravinel
