#pragma once

#include <cstdint>
#include <optional>

namespace ravinel {

// The arrow keys the thumbnail view moves its selection with.
enum class ArrowKey : uint8_t { left, right, up, down };

// The item an arrow key selects from itemIndex (-1: none) in a grid of count items,
// or nothing when the key leaves the selection as it is. Down from a column the last row
// does not reach selects the last item, so the bottom row is never skipped.
std::optional<int32_t> arrowKeyTarget(ArrowKey key, int32_t itemIndex, int32_t count,
                                      int32_t columns);

// The pixels one wheel turn of delta (120 a notch, positive away from the user) scrolls
// towards the top: 16 for a notch, never 0 for a turn.
int32_t wheelStep(int32_t delta);

// The scroll position after a wheel turn from pos, kept within 0..maxScroll.
int32_t wheelScrollPosition(int32_t pos, int32_t delta, int32_t maxScroll);

}  // namespace ravinel
