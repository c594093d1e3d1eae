#pragma once

#include <algorithm>
#include <cstddef>

namespace ravinel {

// The least number of rows (or other units of bytesPerUnit source bytes each) that an
// area pass hands to one thread: about 256 KiB of source, so that thumbnails and other
// small pictures stay on the calling thread, where waking a worker would cost more than
// it saves.
inline size_t areaMinBand(size_t bytesPerUnit) {
    constexpr size_t kBandBytes = 256 * 1024;
    return std::max<size_t>(1, kBandBytes / std::max<size_t>(bytesPerUnit, 1));
}

}  // namespace ravinel
