#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace ravinel {

// The least rows a thread takes in a per-pixel conversion of rows this wide: bands of
// about 64K pixels or more, so that the wake-up of a thread pays and thumbnail-sized
// pictures stay on the calling thread.
inline size_t conversionBandRows(int64_t width) {
    constexpr int64_t kBandPixels = int64_t{1} << 16;
    return static_cast<size_t>(std::max<int64_t>(1, kBandPixels / std::max<int64_t>(width, 1)));
}

}  // namespace ravinel
