#pragma once

#include <algorithm>
#include <cstdint>

namespace ravinel {

// The saturating conversions of the packed code paths.
inline int saturateInt16(int32_t v) {
    return std::clamp<int32_t>(v, -32768, 32767);
}
inline uint8_t clampByte(int32_t v) {
    return static_cast<uint8_t>(std::clamp<int32_t>(v, 0, 255));
}

}  // namespace ravinel
