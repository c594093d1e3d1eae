#include "spi_input.h"

#include <spi_api.h>

#include <cstring>

#include "platform/regular_file.h"

namespace ravinel::spi {

int SpiInput::open(const char* buf, std::intptr_t len, std::uint32_t flag) {
    if (buf == nullptr || len < 0) {
        return SPI_OUT_OF_ORDER;
    }
    if ((flag & 7u) == SPI_INPUT_MEMORY) {
        if (static_cast<std::uintmax_t>(len) > kMaxInputBytes) {
            return SPI_NO_MEMORY;
        }
        data_ = reinterpret_cast<const std::uint8_t*>(buf);
        size_ = static_cast<std::size_t>(len);
        return SPI_ALL_RIGHT;
    }
    if ((flag & 7u) != SPI_INPUT_FILE) {
        return SPI_NOT_SUPPORT;
    }
    const RegularFile file(buf);
    if (!file.isOpen() || static_cast<std::uintmax_t>(len) > file.size()) {
        return SPI_FILE_READ_ERROR;
    }
    const std::uint64_t count = file.size() - static_cast<std::uint64_t>(len);
    if (count > kMaxInputBytes) {
        return SPI_NO_MEMORY;
    }
    owned_.resize(static_cast<std::size_t>(count));
    if (file.readAt(owned_.data(), owned_.size(), static_cast<std::uint64_t>(len)) !=
        static_cast<std::int64_t>(count)) {
        return SPI_FILE_READ_ERROR;
    }
    data_ = owned_.data();
    size_ = owned_.size();
    return SPI_ALL_RIGHT;
}

std::size_t ByteCursor::read(void* destination, std::size_t count) {
    const std::size_t available = size_ - position_;
    const std::size_t copied = count < available ? count : available;
    if (copied > 0) {
        std::memcpy(destination, data_ + position_, copied);
        position_ += copied;
    }
    return copied;
}

bool ByteCursor::seek(std::uint64_t position) {
    if (position > size_) {
        return false;
    }
    position_ = static_cast<std::size_t>(position);
    return true;
}

}  // namespace ravinel::spi
