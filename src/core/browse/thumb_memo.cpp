#include "browse/thumb_memo.h"

#include <sys/stat.h>

#include "browse/thumb_maker.h"

namespace ravinel {

size_t ThumbMemo::bytesOf(const Entry& entry) {
    return (entry.thumb ? entry.thumb->pixelBlock().size() : 0) + entry.info.failureDetail.size() +
           256;
}

std::optional<ThumbMemo::Entry> ThumbMemo::find(const std::string& key) {
    const std::lock_guard hold(mutex_);
    const auto found = index_.find(key);
    if (found == index_.end()) {
        return std::nullopt;
    }
    order_.splice(order_.begin(), order_, found->second);
    return found->second->second;
}

size_t ThumbMemo::bytes() const {
    const std::lock_guard hold(mutex_);
    return bytes_;
}

void ThumbMemo::keep(const std::string& key, Entry entry) {
    const std::lock_guard hold(mutex_);
    if (const auto found = index_.find(key); found != index_.end()) {
        bytes_ -= bytesOf(found->second->second);
        order_.erase(found->second);
        index_.erase(found);
    }
    const size_t size = bytesOf(entry);
    if (size > maxBytes_) {
        return;
    }
    while (bytes_ + size > maxBytes_ && !order_.empty()) {
        bytes_ -= bytesOf(order_.back().second);
        index_.erase(order_.back().first);
        order_.pop_back();
    }
    order_.emplace_front(key, std::move(entry));
    index_[key] = order_.begin();
    bytes_ += size;
}

// The file as it is now and every choice that shapes its thumbnail; empty when the file
// cannot be looked at, which is then made anew.
std::string ThumbMaker::memoKey(const std::string& path) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return {};
    }
    const auto field = [](auto value) { return std::to_string(value) + "|"; };
    return path + '\0' + field(status.st_mtim.tv_sec) + field(status.st_mtim.tv_nsec) +
           field(status.st_size) + field(status.st_ino) + field(imageSize) + field(hiQuality) +
           field(static_cast<int>(thumbPixelFormat)) + field(useCatalog) + field(useCatalogFirst) +
           catalogPath + '|' + field(sharedCache != nullptr) + field(loader_.doAnalyze) +
           field(loader_.useSpiPrev) + field(loader_.inBmpFirst) + field(loader_.inJpgFirst) +
           field(loader_.useOrientation) + field(loader_.maxSide);
}

}  // namespace ravinel
