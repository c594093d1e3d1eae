// The picture data a plug-in is handed: a file from an offset, or a block of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravinel::spi {

// Larger inputs are refused rather than read whole into memory.
constexpr std::size_t kMaxInputBytes = std::size_t{1} << 30;

class SpiInput {
  public:
    // Reads the input the host describes (flag SPI_INPUT_FILE: buf is a file name and len
    // the offset; SPI_INPUT_MEMORY: buf and len are the bytes). Returns an SPI_ code.
    int open(const char* buf, std::intptr_t len, std::uint32_t flag);

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

  private:
    std::vector<std::uint8_t> owned_;
    const std::uint8_t* data_ = nullptr;
    std::size_t size_ = 0;
};

// A read position over bytes that never reads past their end; decoders' read callbacks
// use it.
class ByteCursor {
  public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // Copies up to count bytes and returns how many were copied.
    std::size_t read(void* destination, std::size_t count);
    // Moves to an absolute position; false (and no move) when it lies past the end.
    bool seek(std::uint64_t position);

    std::size_t position() const { return position_; }
    std::size_t size() const { return size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

}  // namespace ravinel::spi
