#pragma once

#include <cstdint>

namespace ravinel {

// The sort modes of a file list, as the settings and the browser's sort menu number them.
// Odd modes are the descending twins of the even ones; 8 and above leave the order.
enum class SortMode : uint8_t {
    smNameUp = 0,  // name, case ignored
    smNameDown = 1,
    smNumberUp = 2,  // name, natural comparison
    smNumberDown = 3,
    smSizeUp = 4,
    smSizeDown = 5,
    smTimeUp = 6,  // oldest first
    smTimeDown = 7,
};

}  // namespace ravinel
