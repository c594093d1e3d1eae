#include "codec/decode_limits.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

#include "codec/graphic_load_error.h"

namespace ravinel {
namespace {

TEST(DecodeLimits, RefusesSidesStoresAndSharesPastTheLimits) {
    MemoryBudget budget(1000);
    const DecodeLimits limits{100, 400, &budget};
    struct Case {
        int64_t width;
        int64_t height;
        int bits;
        uint64_t work;
        bool admitted;
    };
    const Case cases[] = {
        {10, 10, 24, 0, true},            // rows of 32 bytes: 320
        {100, 1, 24, 0, true},            // a side at the limit: 300
        {101, 1, 8, 0, false},            // a side past it, however small the store
        {1, 101, 1, 0, false},            //
        {10, 13, 24, 0, false},           // 416 bytes of store
        {10, 10, 24, 680, true},          // store and work fill the budget exactly
        {10, 10, 24, 681, false},         // one byte more than the whole budget
        {10, 10, 24, UINT64_MAX, false},  // work that would wrap round
        {INT32_MAX, INT32_MAX, 32, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.width << " x " << c.height << " x " << c.bits << " + " << c.work);
        try {
            const MemoryBudget::Reservation share = limits.admit(c.width, c.height, c.bits, c.work);
            EXPECT_TRUE(c.admitted);
            EXPECT_EQ(share.bytes(), pixelStoreBytes(c.width, c.height, c.bits) + c.work);
            EXPECT_EQ(budget.available(), 1000 - share.bytes());
        } catch (const PictureTooLargeError& refusal) {
            EXPECT_FALSE(c.admitted);
            EXPECT_EQ(refusal.width(), c.width);
            EXPECT_EQ(refusal.height(), c.height);
        }
        EXPECT_EQ(budget.available(), 1000u);
    }
    EXPECT_EQ(pixelStoreBytes(INT64_MAX, INT64_MAX, 32), UINT64_MAX);
    EXPECT_EQ(pixelStoreBytes(-5, 10, 24), 0u);
}

TEST(MemoryBudget, AShareThatIsNotFreeWaitsUntilAnotherEnds) {
    MemoryBudget budget(1000);
    EXPECT_FALSE(budget.reserve(1001).has_value());
    auto first = budget.reserve(600);
    ASSERT_TRUE(first.has_value());
    std::atomic<bool> released{false};
    std::atomic<bool> sawRelease{false};
    std::thread other([&] {
        const auto second = budget.reserve(600);
        sawRelease = released.load();
        EXPECT_EQ(budget.available(), 400u);
    });
    // The other thread cannot have its share while this one holds 600 of 1000.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    released = true;
    first.reset();
    other.join();
    EXPECT_TRUE(sawRelease);
    EXPECT_EQ(budget.available(), 1000u);
}

// Held pictures take their share only when it is free: the thread that would let it go
// must never wait for it.
TEST(MemoryBudget, ATryForAShareThatIsNotFreeFailsAtOnce) {
    MemoryBudget budget(1000);
    auto first = budget.tryReserve(600);
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(budget.tryReserve(401).has_value());
    auto rest = budget.tryReserve(400);
    ASSERT_TRUE(rest.has_value());
    EXPECT_EQ(budget.available(), 0u);
    first.reset();
    EXPECT_TRUE(budget.tryReserve(600).has_value());
    EXPECT_EQ(budget.available(), 600u);
}

// A share grows at once when there is room; otherwise it is given back while it waits for
// the whole, so that two growing jobs never wait on each other.
TEST(MemoryBudget, AShareThatCannotGrowWaitsHoldingNothing) {
    MemoryBudget budget(1000);
    MemoryBudget::Reservation share;
    EXPECT_FALSE(budget.enlarge(share, 1001));
    EXPECT_EQ(share.bytes(), 0u);
    ASSERT_TRUE(budget.enlarge(share, 300));
    ASSERT_TRUE(budget.enlarge(share, 200));  // holds enough already
    EXPECT_EQ(share.bytes(), 300u);
    auto other = budget.reserve(600);
    std::atomic<bool> grown{false};
    std::thread growing([&] {
        EXPECT_TRUE(budget.enlarge(share, 500));
        grown = true;
    });
    // Only once its 300 are given back can the other share's end be waited for safely.
    while (budget.available() != 400) {
        std::this_thread::yield();
    }
    EXPECT_FALSE(grown);
    other.reset();
    growing.join();
    EXPECT_EQ(share.bytes(), 500u);
    EXPECT_EQ(budget.available(), 500u);
    share = MemoryBudget::Reservation();
    EXPECT_EQ(budget.available(), 1000u);
    EXPECT_EQ(budget.peak(), 900u);
}

}  // namespace
}  // namespace ravinel
