#include "browse/tile_reuse.h"

#include <algorithm>
#include <unordered_map>

namespace ravinel {

std::vector<int32_t> reusedTiles(const std::vector<int32_t>& oldPositions, int32_t first,
                                 int32_t last) {
    std::unordered_map<int32_t, int32_t> tileOfPosition;
    for (int32_t tile = 0; tile < static_cast<int32_t>(oldPositions.size()); ++tile) {
        tileOfPosition.emplace(oldPositions[tile], tile);
    }
    std::vector<int32_t> slots;
    slots.reserve(static_cast<size_t>(std::max(last - first + 1, 0)));
    for (int32_t position = first; position <= last; ++position) {
        const auto found = tileOfPosition.find(position);
        slots.push_back(found == tileOfPosition.end() ? -1 : found->second);
        if (found != tileOfPosition.end()) {
            // A tile moves into one slot only.
            tileOfPosition.erase(found);
        }
    }
    return slots;
}

}  // namespace ravinel
