#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ravinel {

// File names are bytes; these helpers read them as UTF-8 where they can. A byte that
// does not start a well-formed sequence counts as one character of its own.

// The byte length of the character that starts at offset (1 for an ill-formed byte, 0 at
// or past the end).
std::size_t utf8CharLength(std::string_view text, std::size_t offset);

// True when text is well-formed UTF-8 throughout.
bool isValidUtf8(std::string_view text);

// text with every ill-formed byte replaced by U+FFFD: the form of a name shown to users.
// The real bytes stay in the file item; only this copy is for display.
std::string displayName(std::string_view text);

}  // namespace ravinel
