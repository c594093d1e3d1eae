#pragma once

#include <algorithm>
#include <cstddef>

namespace ravinel {

// The least number of rows (or other units of bytesPerUnit bytes each, of the source for
// a reduction, of the result for an enlargement: the larger side) that an area pass
// hands to one thread: about 512 KiB, some 50 to 100 microseconds of vector work, so
// that thumbnails (a 500 x 375 decode is 560 KB) and other small pictures stay on the
// calling thread, where waking a worker would cost about what it saves.
inline size_t areaMinBand(size_t bytesPerUnit) {
    constexpr size_t kBandBytes = 512 * 1024;
    return std::max<size_t>(1, kBandBytes / std::max<size_t>(bytesPerUnit, 1));
}

}  // namespace ravinel
