#include "spi_input.h"

#include <spi.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace ravinel::spi {
namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

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
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(buf, "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        return SPI_FILE_READ_ERROR;
    }
    const long end = std::ftell(file.get());
    if (end < 0 || len > end) {
        return SPI_FILE_READ_ERROR;
    }
    const auto count = static_cast<std::size_t>(end - len);
    if (count > kMaxInputBytes) {
        return SPI_NO_MEMORY;
    }
    owned_.resize(count);
    if (std::fseek(file.get(), static_cast<long>(len), SEEK_SET) != 0 ||
        std::fread(owned_.data(), 1, count, file.get()) != count) {
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
