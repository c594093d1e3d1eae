#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ravinel {

// A zero-filled heap block of pixel bytes. Large blocks come from calloc, so untouched
// pages cost nothing until written.
class PixelBlock {
  public:
    PixelBlock() = default;
    // Throws OutOfResourcesError when the memory cannot be had.
    explicit PixelBlock(size_t size);

    uint8_t* data() { return data_.get(); }
    const uint8_t* data() const { return data_.get(); }
    size_t size() const { return size_; }

  private:
    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t[], FreeDeleter> data_;
    size_t size_ = 0;
};

}  // namespace ravinel
