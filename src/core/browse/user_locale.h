#pragma once

#include <string>

namespace ravinel {

// The ICU locale ID of the user's locale for one POSIX category, read from the
// environment the way the C library does: LC_ALL, then the category's own variable (for
// example "LC_COLLATE"), then LANG. The codeset and modifier ("de_DE.UTF-8@euro") are
// dropped. Empty for the C and POSIX locales and when nothing is set.
std::string userLocaleId(const char* categoryVariable);

}  // namespace ravinel
