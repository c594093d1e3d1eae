#pragma once

#include <string>

namespace ravinel {

// The target path of a link file: a symbolic link's target, or the URL path of a
// freedesktop ".desktop" file of Type=Link. Empty when path is neither or cannot be read.
std::string getLinkTarget(const std::string& path);

}  // namespace ravinel
