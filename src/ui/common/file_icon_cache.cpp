#include "common/file_icon_cache.h"

#include <QFileInfo>

namespace ravinel {

namespace {

QFileInfo fileInfoOf(const std::string& fullPath) {
    return QFileInfo(QString::fromStdString(fullPath));
}

}  // namespace

int32_t FileIconCache::largeIconOf(const std::string& fullPath) {
    lastPath_ = fullPath;
    lastNumber_ = numberOf(associatedIcon(fullPath));
    return lastNumber_;
}

// Lists ask for both sizes of each file in turn; the icon lookup (which may read the
// file to learn its type) is done once.
int32_t FileIconCache::smallIconOf(const std::string& fullPath) {
    return fullPath == lastPath_ ? lastNumber_ : largeIconOf(fullPath);
}

QIcon FileIconCache::icon(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(icons_.size())) {
        return {};
    }
    return icons_[static_cast<size_t>(index)];
}

QIcon FileIconCache::associatedIcon(const std::string& fullPath) const {
    return provider_.icon(fileInfoOf(fullPath));
}

// Theme icons are told apart by name, so all files of one type share a number; an icon
// without a name is its own.
int32_t FileIconCache::numberOf(const QIcon& icon) {
    const QString key = icon.name().isEmpty() ? QStringLiteral("#%1").arg(icon.cacheKey())
                                              : QStringLiteral("n:") + icon.name();
    const auto found = numbers_.constFind(key);
    if (found != numbers_.constEnd()) {
        return found.value();
    }
    const auto number = static_cast<int32_t>(icons_.size());
    icons_.push_back(icon);
    numbers_.insert(key, number);
    return number;
}

}  // namespace ravinel
