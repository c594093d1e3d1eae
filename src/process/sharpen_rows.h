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

// Bytes [begin, end) of a sharpened row, from three rows of the bordered copy.
inline void sharpenBytes(const uint8_t* above, const uint8_t* row, const uint8_t* below,
                         uint8_t* dst, int begin, int end) {
    for (int i = begin; i < end; ++i) {
        // i is the left neighbour's byte; i + 3 the pixel's, i + 6 the right one's.
        const int32_t corners = above[i] + above[i + 6] + below[i] + below[i + 6];
        const int32_t sides = above[i + 3] + row[i] + row[i + 6] + below[i + 3];
        dst[i] = sharpenedValue(28 * row[i + 3] - corners - 2 * sides);
    }
}

#if defined(__x86_64__)
// The leading bytes of a sharpened row of byteCount bytes in whole vectors; returns how
// many were done.
int sharpenBytesSse2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int byteCount);
int sharpenBytesAvx2(const uint8_t* above, const uint8_t* row, const uint8_t* below, uint8_t* dst,
                     int byteCount);
#endif

}  // namespace ravinel
