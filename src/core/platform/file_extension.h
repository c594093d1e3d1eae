#pragma once

#include <string>

namespace ravinel {

// The extension of a file name or path from its last "." after the last "/", dot
// included, upper-cased (ASCII letters); empty when there is none.
std::string upperExtension(const std::string& fileName);

// The name part of a path: what follows the last "/".
std::string withoutFolder(const std::string& path);

}  // namespace ravinel
