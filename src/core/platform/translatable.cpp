#include "platform/translatable.h"

namespace ravinel {

std::string filledText(std::string_view pattern, const std::vector<std::string>& arguments) {
    std::string text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const int index = pattern[i + 1] - '1';
            if (index >= 0 && index < 9 && static_cast<size_t>(index) < arguments.size()) {
                text += arguments[static_cast<size_t>(index)];
                ++i;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

}  // namespace ravinel
