#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ravinel {

// When an automatic filter runs relative to the resizing. At 1:1 only fpAfter applies.
// A stored value of 3 (possible in an edited settings file) matches no phase.
enum class FilterPhase : uint8_t { fpNone = 0, fpBefore = 1, fpAfter = 2 };

// The phase of each automatic filter for one kind of display (reduced, enlarged, 1:1).
struct FilterSet {
    FilterPhase noise = FilterPhase::fpNone;      // weak noise removal
    FilterPhase normalize = FilterPhase::fpNone;  // brightness normalisation
    FilterPhase sharp = FilterPhase::fpNone;      // sharpening
    friend bool operator==(const FilterSet&, const FilterSet&) = default;
};

// The settings text of a filter set: four hexadecimal digits, sharpening, normalisation
// and noise removal from the second digit on ("0220": normalisation and sharpening after
// the resizing). A text that is not hexadecimal reads as no filters.
FilterSet filterSetFromText(std::string_view text);
std::string filterSetToText(const FilterSet& set);

}  // namespace ravinel
