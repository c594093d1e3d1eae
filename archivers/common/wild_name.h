// Member selection by wild names: "*" any run of characters, "?" one character.
#pragma once

#include <string>

namespace ravinel::archivers {

// Whether the whole path matches; ASCII letters compare without case, as the interface's
// hosts expect. "*.*" matches every name, also one without a dot.
bool wildNameMatches(const std::string& pattern, const std::string& name);

}  // namespace ravinel::archivers
