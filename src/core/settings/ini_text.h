#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ravinel {

// The text rules of the settings file's values.

// ASCII letters compare without case; every other byte must match exactly.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// ASCII letters in lower case: the key under which a name is found.
std::string foldCase(std::string_view text);
// Without leading and trailing spaces and tabs.
std::string_view trimBlanks(std::string_view text);

// A 32-bit integer: decimal with an optional sign, or hexadecimal after "$" (also after
// a sign), or after "0x"/"0X" when the text is longer than two characters. Hexadecimal
// takes the full 32 bits, so "$FFFFFFFF" is -1. Anything else, including decimal text
// beyond the 32-bit range, is no integer.
std::optional<int32_t> parseIniInteger(std::string_view text);
// One to eight significant hexadecimal digits and nothing else.
std::optional<uint32_t> parseHexDigits(std::string_view text);
// A finite decimal float with "." or "," as the decimal point and an optional exponent.
std::optional<double> parseIniFloat(std::string_view text);
// The shortest text of at most 15 significant digits with "." as the decimal point,
// whatever the locale.
std::string formatIniFloat(double value);

}  // namespace ravinel
