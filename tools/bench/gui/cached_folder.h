#pragma once

#include <functional>
#include <string>

namespace ravinel::bench {

// The folder path (ending in "/") holding count files, kept between runs of the
// benchmark: when it exists with exactly count entries it is used as it is, otherwise it
// is emptied and fill writes the files into it. Returns the path.
std::string cachedFolder(const std::string& path, int count,
                         const std::function<void(const std::string& dir)>& fill);

}  // namespace ravinel::bench
