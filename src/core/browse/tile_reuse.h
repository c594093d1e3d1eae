#pragma once

#include <cstdint>
#include <vector>

namespace ravinel {

// Which existing tile each slot of a new page takes when the view scrolls or resizes.
// oldPositions holds the list position each existing tile shows; the new page shows
// first..last. The result has one entry per new slot: the number of the old tile that
// already shows that position, or -1 when a new tile is needed. Old tiles that appear in
// no entry are freed by the caller.
std::vector<int32_t> reusedTiles(const std::vector<int32_t>& oldPositions, int32_t first,
                                 int32_t last);

}  // namespace ravinel
