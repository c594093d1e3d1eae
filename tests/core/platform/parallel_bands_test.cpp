#include "platform/parallel_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

namespace ravinel {
namespace {

class ParallelBands : public ::testing::Test {
  protected:
    void TearDown() override { setProcessThreads(0); }

    static std::vector<std::pair<size_t, size_t>> bandsOf(size_t count, size_t minBand) {
        std::mutex mutex;
        std::vector<std::pair<size_t, size_t>> bands;
        forEachBand(count, minBand, [&](size_t begin, size_t end) {
            std::lock_guard lock(mutex);
            bands.emplace_back(begin, end);
        });
        std::sort(bands.begin(), bands.end());
        return bands;
    }
};

TEST_F(ParallelBands, BandsCoverEveryIndexOnceInOrder) {
    for (unsigned threads : {1u, 2u, 3u, 7u}) {
        setProcessThreads(threads);
        for (size_t count : {0u, 1u, 5u, 100u, 1001u}) {
            const auto bands = bandsOf(count, 1);
            size_t next = 0;
            for (const auto& [begin, end] : bands) {
                EXPECT_EQ(begin, next) << threads << " threads, " << count;
                EXPECT_LT(begin, end);
                next = end;
            }
            EXPECT_EQ(next, count);
            EXPECT_LE(bands.size(), threads);
        }
    }
}

TEST_F(ParallelBands, ShortWorkAndOneThreadStayOnTheCaller) {
    setProcessThreads(4);
    EXPECT_EQ(bandsOf(99, 50).size(), 1u);
    EXPECT_EQ(bandsOf(200, 50).size(), 4u);
    setProcessThreads(1);
    std::thread::id worker;
    forEachBand(1000, 1, [&](size_t, size_t) { worker = std::this_thread::get_id(); });
    EXPECT_EQ(worker, std::this_thread::get_id());
}

TEST_F(ParallelBands, SplitsRunConcurrentlyAndNestedSplitsRunInline) {
    setProcessThreads(3);
    std::mutex mutex;
    std::set<std::thread::id> threads;
    std::atomic<size_t> innerIndices{0};
    std::atomic<int> arrived{0};
    forEachBand(300, 1, [&](size_t, size_t) {
        {
            std::lock_guard lock(mutex);
            threads.insert(std::this_thread::get_id());
        }
        // Each band waits (boundedly) for the others, so serial bands would be seen.
        ++arrived;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (arrived.load() < 3 && std::chrono::steady_clock::now() < giveUp) {
            std::this_thread::yield();
        }
        const auto outer = std::this_thread::get_id();
        forEachBand(50, 1, [&](size_t begin, size_t end) {
            EXPECT_EQ(std::this_thread::get_id(), outer);
            innerIndices += end - begin;
        });
    });
    EXPECT_EQ(threads.size(), 3u);
    EXPECT_EQ(innerIndices.load(), 150u);
}

TEST_F(ParallelBands, ABandsExceptionReachesTheCallerAfterAllBandsEnd) {
    setProcessThreads(4);
    std::atomic<int> finished{0};
    EXPECT_THROW(forEachBand(400, 1,
                             [&](size_t begin, size_t) {
                                 if (begin == 0) {
                                     throw std::runtime_error("band failed");
                                 }
                                 ++finished;
                             }),
                 std::runtime_error);
    EXPECT_EQ(finished.load(), 3);
    // The pool is usable afterwards.
    EXPECT_EQ(bandsOf(400, 1).size(), 4u);
}

TEST_F(ParallelBands, CallersOnSeveralThreadsEachGetEveryIndex) {
    setProcessThreads(2);
    std::vector<std::thread> callers;
    std::atomic<size_t> total{0};
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&] {
            for (int round = 0; round < 50; ++round) {
                forEachBand(64, 1, [&](size_t begin, size_t end) { total += end - begin; });
            }
        });
    }
    for (std::thread& caller : callers) {
        caller.join();
    }
    EXPECT_EQ(total.load(), 4u * 50u * 64u);
}

}  // namespace
}  // namespace ravinel
