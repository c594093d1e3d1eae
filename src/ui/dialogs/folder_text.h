#pragma once

#include <string>

namespace ravinel {

// A folder path as browsing keeps it: ending in "/". An empty text stays empty (no
// folder), instead of turning into the root folder.
std::string folderWithSlash(const std::string& text);

}  // namespace ravinel
