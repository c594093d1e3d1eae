#include "process/pipeline/filter_set.h"

#include <charconv>
#include <cstdio>

namespace ravinel {

namespace {

// Up to eight hexadecimal digits and nothing else, as the settings were always read;
// anything else is 0.
uint32_t hexValue(std::string_view text) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || text.size() > 8 || error != std::errc() || stop != end) {
        return 0;
    }
    return value;
}

FilterPhase phaseOf(uint32_t value) {
    return static_cast<FilterPhase>(value & 3);
}

}  // namespace

FilterSet filterSetFromText(std::string_view text) {
    const uint32_t v = hexValue(text);
    return FilterSet{phaseOf(v), phaseOf(v >> 4), phaseOf(v >> 8)};
}

std::string filterSetToText(const FilterSet& set) {
    const unsigned v = static_cast<unsigned>(set.noise) +
                       16u * static_cast<unsigned>(set.normalize) +
                       256u * static_cast<unsigned>(set.sharp);
    char text[8];
    std::snprintf(text, sizeof text, "%04X", v & 0xFFFFu);
    return text;
}

}  // namespace ravinel
