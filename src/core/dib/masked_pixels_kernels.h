#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "dib/channel_mask.h"

namespace ravinel {

// One channel as the vector paths spread it. The shifted value v (0..255) becomes
// v x 255 / scaled; in single precision (v x 255 + 0.5) x reciprocal truncates to exactly
// that quotient, since the error of the product stays far below the 0.5 / scaled the
// half adds on either side of a whole number.
struct ChannelSpread {
    explicit ChannelSpread(const ChannelMask& channel)
        : mask(channel.mask()),
          shift(channel.shift()),
          reciprocal(1.0f / static_cast<float>(channel.scaled())) {}

    uint32_t mask;
    int shift;
    float reciprocal;
};

// The vector kernels convert the pixels from the start of a row and return how many they
// made; the portable loop makes the rest. They write up to four bytes past the pixels
// they make, which the following pixels then overwrite, so they stop two pixels before
// the row's end. channels: blue, green, red.
#if defined(__x86_64__)
size_t maskedToBgrSse2(const uint8_t* in, size_t count, size_t bytesPerPixel,
                       const std::array<ChannelSpread, 3>& channels, uint8_t* out);
size_t maskedToBgrAvx2(const uint8_t* in, size_t count, size_t bytesPerPixel,
                       const std::array<ChannelSpread, 3>& channels, uint8_t* out);
#endif

}  // namespace ravinel
