#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

namespace ravinel {

// Memory that several decodes running at once share: each takes its share before it
// allocates and gives it back when it ends, so that a batch of threads holds no more than
// the budget however large its pictures are. A share that is not free yet is waited for;
// a decode therefore holds one share at a time, or two decodes could wait on each other.
class MemoryBudget {
  public:
    // A share of the budget, given back when it is destroyed.
    class Reservation {
      public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept;
        Reservation& operator=(Reservation&& other) noexcept;
        Reservation(const Reservation&) = delete;
        Reservation& operator=(const Reservation&) = delete;
        ~Reservation();

        uint64_t bytes() const { return bytes_; }

      private:
        friend class MemoryBudget;
        Reservation(MemoryBudget* budget, uint64_t bytes) : budget_(budget), bytes_(bytes) {}
        void release() noexcept;

        MemoryBudget* budget_ = nullptr;
        uint64_t bytes_ = 0;
    };

    explicit MemoryBudget(uint64_t capacity) : capacity_(capacity) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    // Takes bytes, waiting while other shares leave too little free. None when bytes
    // exceed the whole budget: such a share could never be given.
    std::optional<Reservation> reserve(uint64_t bytes);
    // Takes bytes when they are free now; none otherwise. Never waits: for memory held
    // until the user-interface thread lets it go, which must not wait on itself.
    std::optional<Reservation> tryReserve(uint64_t bytes);
    // Makes a share (empty or of this budget) hold at least bytes: at once when the budget
    // has room, else the share is given back and the whole is waited for, so that nobody
    // waits while holding a share. False, the share unchanged, when bytes exceed the budget.
    bool enlarge(Reservation& share, uint64_t bytes);

    uint64_t capacity() const { return capacity_; }
    uint64_t available() const;
    // The most that shares ever held at once.
    uint64_t peak() const;

  private:
    void giveBack(uint64_t bytes) noexcept;

    const uint64_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable freed_;
    uint64_t used_ = 0;
    uint64_t peak_ = 0;
};

}  // namespace ravinel
