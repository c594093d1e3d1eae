#pragma once

#include <string>
#include <string_view>

namespace ravinel::tool {

// A file name as one safe field of a line on a terminal: control characters become the
// escapes `ls -b` writes (\n, \t, ..., else \ooo) and a backslash is doubled, so that a
// name can neither break the line nor move the cursor and the text still reads back.
// Ill-formed UTF-8 shows as U+FFFD, as everywhere names are shown.
std::string escapedName(std::string_view name);

}  // namespace ravinel::tool
