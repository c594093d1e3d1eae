#include "browse/files_info.h"

#include <algorithm>
#include <stdexcept>

#include "browse/natural_compare.h"

namespace ravinel {

namespace {

int sign(int64_t value) {
    return value < 0 ? -1 : value > 0 ? 1 : 0;
}

// The ascending comparison of a mode pair (mode & ~1). Names that the locale finds equal
// fall back to their bytes so that names with different ill-formed bytes still order
// the same way every time.
int compareAscending(const FileInfoItem& a, const FileInfoItem& b, int pairMode,
                     const NameCollation& collation) {
    int result = 0;
    switch (static_cast<SortMode>(pairMode)) {
        case SortMode::smNameUp:
            result = collation.compareIgnoringCase(a.name, b.name);
            break;
        case SortMode::smNumberUp:
            result = naturalCompare(a.name, b.name, collation);
            break;
        case SortMode::smSizeUp:
            return sign(int64_t{a.size} - b.size);
        default:
            // Unsigned, so that dates from 2044 on (bit 31 set) come after older ones and
            // the times without a date (0) first.
            return sign(int64_t{static_cast<uint32_t>(a.time)} - static_cast<uint32_t>(b.time));
    }
    return result != 0 ? result : sign(a.name.compare(b.name));
}

}  // namespace

FileInfoItem& FilesInfo::item(int position) {
    if (position < 0 || position >= count()) {
        throw std::out_of_range("file list position " + std::to_string(position) + " out of range");
    }
    return *items_[static_cast<size_t>(position)];
}

const FileInfoItem& FilesInfo::item(int position) const {
    return const_cast<FilesInfo*>(this)->item(position);
}

FileInfoItem& FilesInfo::add(const FileInfoItem& item) {
    items_.push_back(std::make_unique<FileInfoItem>(item));
    return *items_.back();
}

void FilesInfo::assign(const FilesInfo& source) {
    items_.reserve(items_.size() + source.items_.size());
    for (const auto& sourceItem : source.items_) {
        add(*sourceItem);
    }
}

int FilesInfo::indexOf(const std::string& name) const {
    for (int position = count() - 1; position >= 0; --position) {
        if (items_[static_cast<size_t>(position)]->name == name) {
            return position;
        }
    }
    return -1;
}

void FilesInfo::sort(int mode, const NameCollation& collation) {
    if (mode >= 0 && mode <= static_cast<int>(SortMode::smTimeDown)) {
        const int pairMode = mode & ~1;
        const bool descending = (mode & 1) != 0;
        std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
            const int result = compareAscending(*a, *b, pairMode, collation);
            return descending ? result > 0 : result < 0;
        });
    }
    for (size_t position = 0; position < items_.size(); ++position) {
        items_[position]->index = static_cast<int32_t>(position);
    }
}

}  // namespace ravinel
