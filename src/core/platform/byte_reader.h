#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>

namespace ravinel {

// Reading past the end of the data: the framework's stream read error.
class StreamReadError : public std::runtime_error {
  public:
    StreamReadError() : std::runtime_error("Stream read error") {}
};

// Bounds-checked reading of little- and big-endian values from a byte buffer. Every read
// that would pass the end throws StreamReadError and leaves the position unchanged.
class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

    size_t position() const { return pos_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - pos_; }
    std::span<const uint8_t> data() const { return data_; }

    void seek(size_t position) {
        if (position > data_.size()) {
            throw StreamReadError();
        }
        pos_ = position;
    }
    void skip(size_t count) {
        need(count);
        pos_ += count;
    }

    uint8_t u8() {
        need(1);
        return data_[pos_++];
    }
    uint16_t u16le() {
        need(2);
        const uint16_t v = static_cast<uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
        pos_ += 2;
        return v;
    }
    uint32_t u32le() {
        need(4);
        const uint32_t v = static_cast<uint32_t>(data_[pos_]) |
                           static_cast<uint32_t>(data_[pos_ + 1]) << 8 |
                           static_cast<uint32_t>(data_[pos_ + 2]) << 16 |
                           static_cast<uint32_t>(data_[pos_ + 3]) << 24;
        pos_ += 4;
        return v;
    }
    int32_t i32le() { return static_cast<int32_t>(u32le()); }
    uint16_t u16be() {
        need(2);
        const uint16_t v = static_cast<uint16_t>(data_[pos_] << 8 | data_[pos_ + 1]);
        pos_ += 2;
        return v;
    }
    // The next count bytes, without copying.
    std::span<const uint8_t> bytes(size_t count) {
        need(count);
        auto s = data_.subspan(pos_, count);
        pos_ += count;
        return s;
    }

  private:
    void need(size_t count) const {
        if (count > data_.size() - pos_) {
            throw StreamReadError();
        }
    }

    std::span<const uint8_t> data_;
    size_t pos_ = 0;
};

}  // namespace ravinel
