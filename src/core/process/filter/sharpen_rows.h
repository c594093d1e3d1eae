#pragma once

#include <cstdint>

#include "process/saturate.h"

namespace ravinel {

// v / 16 rounded half up, as the packed path does it: signed 16-bit saturation, + 8 with
// saturation, arithmetic shift, unsigned byte saturation. v stays within -3060..7140, so
// the 16-bit steps never saturate in practice.
inline uint8_t sharpenedValue(int32_t v) {
    return clampByte(saturateInt16(saturateInt16(v) + 8) >> 4);
}

// Bytes [begin, end) of a sharpened row from the rows above, at and below it; the
// neighbours of byte i are at i - 3 and i + 3, so begin is at least 3.
inline void sharpenBytes(const uint8_t* above, const uint8_t* row, const uint8_t* below,
                         uint8_t* dst, int begin, int end) {
    for (int i = begin; i < end; ++i) {
        const int32_t corners = above[i - 3] + above[i + 3] + below[i - 3] + below[i + 3];
        const int32_t sides = above[i] + row[i - 3] + row[i + 3] + below[i];
        dst[i] = sharpenedValue(28 * row[i] - corners - 2 * sides);
    }
}

#if defined(__x86_64__)
// The same in whole vectors from begin on, reading no further than end + 2; returns where
// they stopped.
int sharpenBytesSse2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int begin, int end);
int sharpenBytesAvx2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int begin, int end);
#endif

}  // namespace ravinel
