#pragma once

#include <string>

#include "browse/name_collation.h"

namespace ravinel {

// The longest run of the digits 0-9 in text that starts at character position
// position (1-based; a UTF-8 sequence, or an ill-formed byte, is one character). Empty
// when position is below 1, past the end, or not at a digit.
std::string digitRunAt(const std::string& text, int position);

// Prefixes the shorter of two strings of different lengths with "0" until both are
// equally long; strings of equal length stay as they are.
void zeroPadPair(std::string& a, std::string& b);

// -1, 0 or 1: names compared token by token, where two digit runs met at the same step
// compare by numeric value (zero-padded to one length) and anything else one character
// at a time, case-sensitively with lowercase first. Equal tokens throughout: the shorter
// name in bytes comes first.
int naturalCompare(const std::string& a, const std::string& b,
                   const NameCollation& collation = NameCollation::user());

}  // namespace ravinel
