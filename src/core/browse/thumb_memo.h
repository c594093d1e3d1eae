#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>

#include "codec/graphic_load_info.h"
#include "dib/nk_dib.h"

namespace ravinel {

// Thumbnails kept in memory while the same files are listed anew (a sort, a switch
// between the views): keyed by the file's path, time and size and by everything that
// shapes a thumbnail, bounded in bytes, the least recently used dropped first.
class ThumbMemo {
  public:
    explicit ThumbMemo(size_t maxBytes) : maxBytes_(maxBytes) {}

    struct Entry {
        NkDib thumb;  // empty (width 0) when the file is shown as a plain file
        GraphicLoadInfo info;
    };

    // The entry kept under the key, or null.
    const Entry* find(const std::string& key);
    void keep(const std::string& key, Entry entry);
    size_t bytes() const { return bytes_; }

  private:
    using Order = std::list<std::pair<std::string, Entry>>;
    static size_t bytesOf(const Entry& entry);

    size_t maxBytes_;
    size_t bytes_ = 0;
    Order order_;  // most recently used first
    std::unordered_map<std::string, Order::iterator> index_;
};

}  // namespace ravinel
