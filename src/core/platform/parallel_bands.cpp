#include "platform/parallel_bands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace ravinel {
namespace {

unsigned processorCount() {
    return std::max(1u, std::thread::hardware_concurrency());
}

// The count RAVINEL_THREADS holds; 0 when it holds none.
unsigned threadsFromEnvironment() {
    const char* value = std::getenv("RAVINEL_THREADS");
    if (value == nullptr || *value == '\0') {
        return 0;
    }
    char* end = nullptr;
    const unsigned long count = std::strtoul(value, &end, 10);
    if (*end != '\0') {
        return 0;
    }
    return static_cast<unsigned>(std::min<unsigned long>(count, 256));
}

std::atomic<unsigned>& threadCount() {
    static std::atomic<unsigned> count{threadsFromEnvironment() != 0 ? threadsFromEnvironment()
                                                                     : processorCount()};
    return count;
}

std::atomic<bool>& countChosen() {
    static std::atomic<bool> chosen{threadsFromEnvironment() != 0};
    return chosen;
}

thread_local bool insideBand = false;

// Workers that wait for one split at a time; the caller works on bands too.
class BandPool {
  public:
    ~BandPool() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
    }

    // Returns false, doing nothing, while another thread's split is running.
    bool run(size_t count, size_t bands, const std::function<void(size_t, size_t)>& work) {
        std::unique_lock busy(busy_, std::try_to_lock);
        if (!busy.owns_lock()) {
            return false;
        }
        {
            std::lock_guard lock(mutex_);
            while (workers_.size() + 1 < bands) {
                workers_.emplace_back([this] { serve(); });
            }
            work_ = &work;
            count_ = count;
            bands_ = bands;
            nextBand_ = 0;
            pending_ = bands;
            error_ = nullptr;
            ++generation_;
        }
        wake_.notify_all();
        takeBands();
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return pending_ == 0; });
        work_ = nullptr;
        if (error_) {
            std::rethrow_exception(error_);
        }
        return true;
    }

  private:
    void serve() {
        size_t seen = 0;
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
                if (stopping_) {
                    return;
                }
                seen = generation_;
            }
            takeBands();
        }
    }

    void takeBands() {
        insideBand = true;
        for (;;) {
            size_t band = 0;
            {
                std::lock_guard lock(mutex_);
                if (work_ == nullptr || nextBand_ == bands_) {
                    break;
                }
                band = nextBand_++;
            }
            std::exception_ptr error;
            try {
                (*work_)(count_ * band / bands_, count_ * (band + 1) / bands_);
            } catch (...) {
                error = std::current_exception();
            }
            std::lock_guard lock(mutex_);
            if (error && !error_) {
                error_ = error;
            }
            if (--pending_ == 0) {
                done_.notify_one();
            }
        }
        insideBand = false;
    }

    std::mutex busy_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::vector<std::thread> workers_;
    const std::function<void(size_t, size_t)>* work_ = nullptr;
    size_t count_ = 0;
    size_t bands_ = 0;
    size_t nextBand_ = 0;
    size_t pending_ = 0;
    size_t generation_ = 0;
    std::exception_ptr error_;
    bool stopping_ = false;
};

BandPool& bandPool() {
    static BandPool pool;
    return pool;
}

}  // namespace

unsigned processThreads() {
    return threadCount().load(std::memory_order_relaxed);
}

unsigned setProcessThreads(unsigned count) {
    const unsigned inUse = count == 0 ? processorCount() : std::min(count, 256u);
    threadCount().store(inUse, std::memory_order_relaxed);
    countChosen().store(count != 0, std::memory_order_relaxed);
    return inUse;
}

bool processThreadsChosen() {
    return countChosen().load(std::memory_order_relaxed);
}

void forEachBand(size_t count, size_t minBand, const std::function<void(size_t, size_t)>& work) {
    const size_t longest = count / std::max<size_t>(minBand, 1);
    const size_t bands = std::min<size_t>(processThreads(), longest);
    if (bands <= 1 || insideBand || !bandPool().run(count, bands, work)) {
        if (count > 0) {
            work(0, count);
        }
    }
}

}  // namespace ravinel
