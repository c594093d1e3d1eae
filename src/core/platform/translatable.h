#pragma once

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

}  // namespace ravinel
