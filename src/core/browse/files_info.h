#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "browse/file_info_item.h"
#include "browse/name_collation.h"
#include "browse/sort_mode.h"

namespace ravinel {

// An ordered list of file items that owns them. Items keep their place in memory while
// the list lives (sorting moves only the references), and each knows its position
// through index after a sort.
class FilesInfo {
  public:
    FilesInfo() = default;
    FilesInfo(const FilesInfo&) = delete;
    FilesInfo& operator=(const FilesInfo&) = delete;
    FilesInfo(FilesInfo&&) = default;
    FilesInfo& operator=(FilesInfo&&) = default;

    int count() const { return static_cast<int>(items_.size()); }
    // The item at position (0..count-1); std::out_of_range otherwise.
    FileInfoItem& item(int position);
    const FileInfoItem& item(int position) const;

    // Appends a copy of item and returns the new item.
    FileInfoItem& add(const FileInfoItem& item);
    // Frees every item.
    void clear() { items_.clear(); }
    // Appends a copy of every item of source, in its order. Does not clear first.
    void assign(const FilesInfo& source);

    // The position of the last item whose name equals name byte for byte, or -1.
    int indexOf(const std::string& name) const;

    // Sorts by mode (0..7, see SortMode; 8 and above keep the order), then sets every
    // item's index to its position. Items that compare equal have no defined order.
    void sort(int mode, const NameCollation& collation = NameCollation::user());

  private:
    std::vector<std::unique_ptr<FileInfoItem>> items_;
};

}  // namespace ravinel
