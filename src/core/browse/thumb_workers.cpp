#include "browse/thumb_workers.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "codec/shared_spi_host.h"

namespace ravinel {

// The choices of one list, read by every thread and changed by none.
struct ThumbWorkers::Setup {
    Setup(const ThumbMaker& makerChoices, const GraphicLoader& loaderChoices,
          std::vector<std::string> files, uint64_t list)
        : loader(loaderChoices, nullptr), maker(loader), names(std::move(files)), generation(list) {
        maker.takeChoicesOf(makerChoices);
    }

    GraphicLoader loader;
    ThumbMaker maker;
    std::vector<std::string> names;
    uint64_t generation;
};

ThumbWorkers::ThumbWorkers(unsigned threads, SpiHost* plugins, std::mutex& pluginLock,
                           std::function<void()> finished)
    : finished_(std::move(finished)), plugins_(plugins), pluginLock_(pluginLock) {
    for (unsigned i = 0; i < std::max(threads, 1u); ++i) {
        threads_.emplace_back([this] { serve(); });
    }
}

ThumbWorkers::~ThumbWorkers() {
    {
        const std::lock_guard hold(mutex_);
        stopping_ = true;
        done_.clear();
    }
    wake_.notify_all();
    for (std::thread& thread : threads_) {
        thread.join();
    }
}

void ThumbWorkers::start(const ThumbMaker& maker, const GraphicLoader& loader,
                         std::vector<std::string> names, int32_t first) {
    const auto count = static_cast<int32_t>(names.size());
    {
        const std::lock_guard hold(mutex_);
        ++generation_;
        setup_ = std::make_shared<const Setup>(maker, loader, std::move(names), generation_);
        claimed_.assign(static_cast<size_t>(count), false);
        unclaimed_ = count;
        cursor_ = count > 0 && first >= 0 && first < count ? first : 0;
        done_.clear();
    }
    wake_.notify_all();
}

void ThumbWorkers::preferFrom(int32_t first) {
    const std::lock_guard hold(mutex_);
    if (first >= 0 && first < static_cast<int32_t>(claimed_.size())) {
        cursor_ = first;
    }
}

std::optional<ThumbWorkers::Finished> ThumbWorkers::take() {
    const std::lock_guard hold(mutex_);
    if (done_.empty()) {
        return std::nullopt;
    }
    Finished finished = std::move(done_.front());
    done_.pop_front();
    return finished;
}

void ThumbWorkers::stop() {
    std::unique_lock hold(mutex_);
    ++generation_;
    setup_.reset();
    claimed_.clear();
    unclaimed_ = 0;
    done_.clear();
    quiet_.wait(hold, [this] { return running_ == 0; });
}

// The next position not yet taken, in the list's order from the cursor round to it.
bool ThumbWorkers::claim(int32_t& position) {
    if (unclaimed_ == 0) {
        return false;
    }
    const auto count = static_cast<int32_t>(claimed_.size());
    while (claimed_[static_cast<size_t>(cursor_)]) {
        cursor_ = (cursor_ + 1) % count;
    }
    position = cursor_;
    claimed_[static_cast<size_t>(position)] = true;
    --unclaimed_;
    cursor_ = (cursor_ + 1) % count;
    return true;
}

// A thread's own loader and maker, made anew for each list.
class ThumbWorkers::Worker {
  public:
    Worker(SpiHost* plugins, std::mutex& lock) {
        if (plugins != nullptr) {
            plugins_.emplace(*plugins, lock);
        }
    }

    Finished make(const Setup& setup, int32_t position) {
        if (generation_ != setup.generation) {
            maker_.reset();
            loader_.emplace(setup.loader, plugins_ ? &*plugins_ : nullptr);
            maker_.emplace(*loader_);
            maker_->takeChoicesOf(setup.maker);
            generation_ = setup.generation;
        }
        // The share is given back once the picture has become a thumbnail.
        MemoryBudget::Reservation share;
        loader_->jobShare = &share;
        Finished finished{position, {}, {}};
        try {
            finished.made = maker_->examine(setup.names[static_cast<size_t>(position)]);
        } catch (const std::exception& error) {
            finished.made.info.kind = GraphicKind::gkFile;
            finished.made.info.failureDetail = error.what();
            finished.error = error.what();
        }
        loader_->jobShare = nullptr;
        return finished;
    }

  private:
    std::optional<SharedSpiHost> plugins_;
    std::optional<GraphicLoader> loader_;
    std::optional<ThumbMaker> maker_;
    uint64_t generation_ = 0;
};

void ThumbWorkers::serve() {
    Worker worker(plugins_, pluginLock_);
    for (;;) {
        std::shared_ptr<const Setup> setup;
        int32_t position = 0;
        {
            std::unique_lock hold(mutex_);
            wake_.wait(hold, [this] { return stopping_ || unclaimed_ > 0; });
            if (stopping_) {
                return;
            }
            claim(position);
            setup = setup_;
            ++running_;
        }
        Finished made = worker.make(*setup, position);
        bool kept = false;
        {
            const std::lock_guard hold(mutex_);
            --running_;
            kept = !stopping_ && setup->generation == generation_;
            if (kept) {
                done_.push_back(std::move(made));
            }
        }
        quiet_.notify_all();
        if (kept) {
            finished_();
        }
    }
}

}  // namespace ravinel
