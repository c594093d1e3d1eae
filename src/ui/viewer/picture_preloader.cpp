#include "viewer/picture_preloader.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <exception>
#include <utility>

#include "codec/decode_limits.h"
#include "process/pipeline/g_process.h"
#include "viewer/display_geometry.h"

namespace ravinel {

namespace {

uint64_t storeBytes(const NkDib& picture) {
    return pixelStoreBytes(picture.width(), picture.height(), picture.bitCount());
}

}  // namespace

FileStamp fileStampOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return {};
    }
    return {status.st_dev, status.st_ino, status.st_size,
            int64_t{status.st_mtim.tv_sec} * 1'000'000'000 + status.st_mtim.tv_nsec};
}

void loadEntry(GraphicLoader& loader, const PictureEntry& entry, NkDib& target,
               GraphicLoadInfo& info) {
    if (entry.member.empty()) {
        loader.loadFromFile(target, entry.path, false, info);
    } else {
        loader.loadFromArchive(target, entry.path, entry.member, false, info);
    }
}

uint64_t PreparedPicture::bytes() const {
    return storeBytes(source) + storeBytes(dest);
}

PicturePreloader::PicturePreloader(SpiHost& host, std::mutex& lock, MemoryBudget& budget)
    : host_(host), hostLock_(lock), budget_(budget) {}

PicturePreloader::~PicturePreloader() {
    stop();
}

void PicturePreloader::stop() {
    {
        const std::lock_guard hold(mutex_);
        stopping_ = true;
        held_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool PicturePreloader::current(const GraphicLoader& loader, const DisplayInputs& inputs) const {
    return loader_ && loader_->sameChoices(loader) && inputs_ == inputs;
}

void PicturePreloader::adopt(const GraphicLoader& loader, const DisplayInputs& inputs) {
    if (current(loader, inputs)) {
        return;
    }
    ++generation_;
    held_.clear();
    loader_.emplace(loader, nullptr);
    inputs_ = inputs;
}

bool PicturePreloader::isCandidate(const PictureEntry& entry) const {
    return std::any_of(walks_.begin(), walks_.end(), [&](const Walk& walk) {
        return std::find(walk.candidates.begin(), walk.candidates.end(), entry) !=
               walk.candidates.end();
    });
}

bool PicturePreloader::isHeld(const PictureEntry& entry) const {
    return std::any_of(held_.begin(), held_.end(),
                       [&](const PreparedPicture& picture) { return picture.entry == entry; });
}

void PicturePreloader::prepare(const GraphicLoader& loader, const DisplayInputs& inputs,
                               std::vector<PictureEntry> after, std::vector<PictureEntry> before,
                               int32_t count) {
    {
        const std::lock_guard hold(mutex_);
        adopt(loader, inputs);
        walks_ = {Walk{std::move(after)}, Walk{std::move(before)}};
        count_ = count;
        // Only neighbours are worth their memory.
        std::erase_if(
            held_, [this](const PreparedPicture& picture) { return !isCandidate(picture.entry); });
        if (!worker_.joinable() && !stopping_ && count_ > 0) {
            worker_ = std::thread([this] { serve(); });
        }
    }
    wake_.notify_all();
}

std::optional<PreparedPicture> PicturePreloader::take(const PictureEntry& entry,
                                                      const GraphicLoader& loader,
                                                      const DisplayInputs& inputs) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (!current(loader, inputs)) {
            return std::nullopt;
        }
        const auto held = std::find_if(held_.begin(), held_.end(),
                                       [&](const PreparedPicture& p) { return p.entry == entry; });
        if (held != held_.end()) {
            PreparedPicture picture = std::move(*held);
            held_.erase(held);
            if (picture.stamp != fileStampOf(entry.path)) {
                return std::nullopt;  // the file changed since it was read
            }
            ++handedOut_;
            picture.share = {};  // shown, no longer held
            return picture;
        }
        // The job under way had a head start on a load begun now.
        const uint64_t generation = generation_;
        const auto underWay = [&] {
            return running_ && running_->generation == generation && running_->entry == entry;
        };
        if (!underWay()) {
            return std::nullopt;
        }
        finished_.wait(lock, [&] { return !underWay(); });
    }
}

void PicturePreloader::offer(PreparedPicture picture, const GraphicLoader& loader,
                             const DisplayInputs& inputs) {
    const std::lock_guard hold(mutex_);
    if (!current(loader, inputs) || isHeld(picture.entry)) {
        return;
    }
    if (std::optional<MemoryBudget::Reservation> share = budget_.tryReserve(picture.bytes())) {
        picture.share = std::move(*share);
        held_.push_back(std::move(picture));
    }
}

void PicturePreloader::clear() {
    const std::lock_guard hold(mutex_);
    ++generation_;
    held_.clear();
    walks_ = {};
    loader_.reset();
}

void PicturePreloader::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] {
        const bool workLeft = std::any_of(walks_.begin(), walks_.end(), [this](const Walk& walk) {
            return walk.next < walk.candidates.size() && found(walk) < count_;
        });
        return stopping_ || (idle_ && !workLeft);
    });
}

size_t PicturePreloader::preparedCount() const {
    const std::lock_guard hold(mutex_);
    return held_.size();
}

uint64_t PicturePreloader::handedOut() const {
    const std::lock_guard hold(mutex_);
    return handedOut_;
}

int32_t PicturePreloader::found(const Walk& walk) const {
    int32_t count = 0;
    for (size_t i = 0; i < walk.next; ++i) {
        count += isHeld(walk.candidates[i]) ? 1 : 0;
    }
    return count;
}

std::optional<PicturePreloader::Job> PicturePreloader::nextJob() {
    if (!loader_) {
        return std::nullopt;
    }
    for (;;) {
        // The direction with fewer pictures found goes first: both ways fill in turn.
        size_t chosen = walks_.size();
        int32_t fewest = count_;
        for (size_t w = 0; w < walks_.size(); ++w) {
            const int32_t got = found(walks_[w]);
            if (walks_[w].next < walks_[w].candidates.size() && got < fewest) {
                chosen = w;
                fewest = got;
            }
        }
        if (chosen == walks_.size()) {
            return std::nullopt;
        }
        Walk& walk = walks_[chosen];
        const PictureEntry& entry = walk.candidates[walk.next++];
        if (!isHeld(entry)) {
            return Job{entry, chosen, generation_};
        }
    }
}

void PicturePreloader::serve() {
    // This thread's view of the plug-in host: its loads wait for each other's.
    SharedSpiHost view(host_, hostLock_);
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        const std::optional<Job> job = nextJob();
        if (!job) {
            idle_ = true;
            finished_.notify_all();
            wake_.wait(lock);
            idle_ = false;
            continue;
        }
        running_ = job;
        GraphicLoader loader(*loader_, &view);
        const DisplayInputs inputs = inputs_;
        lock.unlock();
        std::optional<PreparedPicture> picture;
        try {
            picture = prepareOne(*job, loader, inputs);
        } catch (const std::exception&) {
            // Not prepared: the window makes it itself, and meets the failure there.
        }
        lock.lock();
        running_.reset();
        finish(*job, std::move(picture));
        finished_.notify_all();
    }
}

std::optional<PreparedPicture> PicturePreloader::prepareOne(const Job& job, GraphicLoader& loader,
                                                            const DisplayInputs& inputs) {
    const auto start = std::chrono::steady_clock::now();
    PreparedPicture picture;
    picture.entry = job.entry;
    picture.stamp = fileStampOf(job.entry.path);
    loadEntry(loader, job.entry, picture.source, picture.loadInfo);
    if (!picture.loadInfo.succeeded() || picture.loadInfo.height == 0) {
        return std::nullopt;
    }
    picture.loadTime = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                 std::chrono::steady_clock::now() - start)
                                                 .count());
    const DisplaySize size =
        processedSize(picture.loadInfo.width, picture.loadInfo.height, inputs.viewForm,
                      inputs.metrics, inputs.frameless, loader.maxSide);
    GProcess process;
    process.source = std::move(picture.source);
    process.loadInfo = picture.loadInfo;
    process.destWidth = size.width;
    process.destHeight = size.height;
    process.settings = inputs.settings;
    process.execute();
    picture.source = std::move(process.source);
    picture.dest = std::move(process.dest);
    picture.destWidth = size.width;
    picture.destHeight = size.height;
    return picture;
}

void PicturePreloader::finish(const Job& job, std::optional<PreparedPicture> picture) {
    if (!picture || job.generation != generation_) {
        return;
    }
    if (!isCandidate(picture->entry) || isHeld(job.entry)) {
        return;
    }
    std::optional<MemoryBudget::Reservation> share = budget_.tryReserve(picture->bytes());
    if (!share) {
        // Farther pictures would not fit either: this way stops here.
        Walk& walk = walks_[job.walk];
        walk.next = walk.candidates.size();
        return;
    }
    picture->share = std::move(*share);
    held_.push_back(std::move(*picture));
}

}  // namespace ravinel
