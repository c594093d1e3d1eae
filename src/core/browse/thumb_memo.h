#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "codec/graphic_load_info.h"
#include "dib/nk_dib.h"

namespace ravinel {

// What examining one file gave: its thumbnail and what the loader found.
struct MadeThumb {
    std::optional<NkDib> thumb;  // none when the file is shown as a plain file
    GraphicLoadInfo info;
};

// Thumbnails kept in memory while the same files are listed anew (a sort, a switch
// between the views): keyed by the file's path, time and size and by everything that
// shapes a thumbnail, bounded in bytes, the least recently used dropped first. The
// threads that make thumbnails share one.
class ThumbMemo {
  public:
    using Entry = MadeThumb;

    explicit ThumbMemo(size_t maxBytes) : maxBytes_(maxBytes) {}

    // A copy of the entry kept under the key, or none.
    std::optional<Entry> find(const std::string& key);
    void keep(const std::string& key, Entry entry);
    size_t bytes() const;

  private:
    using Order = std::list<std::pair<std::string, Entry>>;
    static size_t bytesOf(const Entry& entry);

    mutable std::mutex mutex_;
    size_t maxBytes_;
    size_t bytes_ = 0;
    Order order_;  // most recently used first
    std::unordered_map<std::string, Order::iterator> index_;
};

}  // namespace ravinel
