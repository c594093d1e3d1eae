#pragma once

#include <string>

namespace ravinel {

// Opens folder in the desktop's file manager. True when the desktop took the request.
bool openInExplorer(const std::string& folder);

}  // namespace ravinel
