#pragma once

#include <cstdint>
#include <string>

namespace ravinel {

// Hands out stable icon numbers for files, large and small; the window layer fills it
// from the desktop's file icons. The lists of the core only store the numbers.
class IconCache {
  public:
    virtual ~IconCache() = default;
    // The number of the large icon of the file at fullPath.
    virtual int32_t largeIconOf(const std::string& fullPath) = 0;
    // The number of the small icon of the file at fullPath.
    virtual int32_t smallIconOf(const std::string& fullPath) = 0;
};

}  // namespace ravinel
