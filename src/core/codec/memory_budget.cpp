#include "codec/memory_budget.h"

#include <utility>

namespace ravinel {

MemoryBudget::Reservation::Reservation(Reservation&& other) noexcept
    : budget_(std::exchange(other.budget_, nullptr)), bytes_(std::exchange(other.bytes_, 0)) {}

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        release();
        budget_ = std::exchange(other.budget_, nullptr);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

MemoryBudget::Reservation::~Reservation() {
    release();
}

void MemoryBudget::Reservation::release() noexcept {
    if (budget_ != nullptr) {
        budget_->giveBack(bytes_);
        budget_ = nullptr;
        bytes_ = 0;
    }
}

std::optional<MemoryBudget::Reservation> MemoryBudget::reserve(uint64_t bytes) {
    if (bytes > capacity_) {
        return std::nullopt;
    }
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [&] { return capacity_ - used_ >= bytes; });
    used_ += bytes;
    return Reservation(this, bytes);
}

std::optional<MemoryBudget::Reservation> MemoryBudget::tryReserve(uint64_t bytes) {
    const std::lock_guard lock(mutex_);
    if (bytes > capacity_ - used_) {
        return std::nullopt;
    }
    used_ += bytes;
    return Reservation(this, bytes);
}

uint64_t MemoryBudget::available() const {
    const std::lock_guard lock(mutex_);
    return capacity_ - used_;
}

void MemoryBudget::giveBack(uint64_t bytes) noexcept {
    {
        const std::lock_guard lock(mutex_);
        used_ -= bytes;
    }
    freed_.notify_all();
}

}  // namespace ravinel
