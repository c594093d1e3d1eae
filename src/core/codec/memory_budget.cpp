#include "codec/memory_budget.h"

#include <algorithm>
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
    peak_ = std::max(peak_, used_);
    return Reservation(this, bytes);
}

std::optional<MemoryBudget::Reservation> MemoryBudget::tryReserve(uint64_t bytes) {
    const std::lock_guard lock(mutex_);
    if (bytes > capacity_ - used_) {
        return std::nullopt;
    }
    used_ += bytes;
    peak_ = std::max(peak_, used_);
    return Reservation(this, bytes);
}

bool MemoryBudget::enlarge(Reservation& share, uint64_t bytes) {
    if (bytes > capacity_) {
        return false;
    }
    if (share.bytes_ >= bytes) {
        return true;
    }
    {
        const std::lock_guard lock(mutex_);
        const uint64_t more = bytes - share.bytes_;
        if (capacity_ - used_ >= more) {
            used_ += more;
            peak_ = std::max(peak_, used_);
            share.budget_ = this;
            share.bytes_ = bytes;
            return true;
        }
    }
    share.release();
    share = std::move(*reserve(bytes));
    return true;
}

uint64_t MemoryBudget::available() const {
    const std::lock_guard lock(mutex_);
    return capacity_ - used_;
}

uint64_t MemoryBudget::peak() const {
    const std::lock_guard lock(mutex_);
    return peak_;
}

void MemoryBudget::giveBack(uint64_t bytes) noexcept {
    {
        const std::lock_guard lock(mutex_);
        used_ -= bytes;
    }
    freed_.notify_all();
}

}  // namespace ravinel
