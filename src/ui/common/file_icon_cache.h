#pragma once

#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QString>
#include <string>
#include <vector>

#include "browse/icon_cache.h"

namespace ravinel {

// The desktop's file icons behind stable numbers: every distinct icon gets the next
// number once, and the number stays valid for the life of the cache. Large and small
// icons share a number; they differ only in the size they are drawn at.
class FileIconCache : public IconCache {
  public:
    static constexpr int kLargeIconSize = 32;
    static constexpr int kSmallIconSize = 16;

    int32_t largeIconOf(const std::string& fullPath) override;
    int32_t smallIconOf(const std::string& fullPath) override;

    // The icon of a number handed out; a null icon for any other number.
    QIcon icon(int32_t index) const;
    // The icon the desktop shows for the file, that of its target for a link.
    QIcon associatedIcon(const std::string& fullPath) const;

  private:
    int32_t numberOf(const QIcon& icon);

    QFileIconProvider provider_;
    std::vector<QIcon> icons_;
    QHash<QString, int32_t> numbers_;
    std::string lastPath_;  // the file of the last large icon, and its number
    int32_t lastNumber_ = -1;
};

}  // namespace ravinel
