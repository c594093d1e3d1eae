#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Marks a text of the core that people read. The tool and the logs print it as it stands;
// the windows look it up in their translations under context. lupdate reads the mark as
// QT_TRANSLATE_NOOP (tools/update_translations.sh), without the core needing Qt.
#define RAVINEL_TRANSLATABLE(context, text) text

namespace ravinel {

// pattern with %1 to %9 replaced by the arguments in order; a % not followed by the
// number of a given argument stays as it is.
std::string filledText(std::string_view pattern, const std::vector<std::string>& arguments);

// The text of an enumerator from its table, in the enumeration's order; "" past the table.
template <typename Enumeration, size_t count>
const char* textOf(const std::array<const char*, count>& texts, Enumeration value) {
    const auto index = static_cast<size_t>(value);
    return index < count ? texts[index] : "";
}

}  // namespace ravinel
