#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// A shared thumbnail entry that could not be written; the cache is left as it was.
class ThumbCacheError : public std::runtime_error {
  public:
    explicit ThumbCacheError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace ravinel
