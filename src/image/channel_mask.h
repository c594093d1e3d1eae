#pragma once

#include <bit>
#include <cstdint>

namespace ravinel {

// One channel of a 16 or 32-bit pixel, spread to 0..255. The mask is shifted until its
// highest bit is bit 7, and the channel is scaled by 255 / shifted mask. A zero mask
// gives a channel that is always 0; readers that refuse such masks check before.
class ChannelMask {
  public:
    explicit ChannelMask(uint32_t mask)
        : mask_(mask), shift_(mask == 0 ? 0 : (31 - std::countl_zero(mask)) - 7) {
        scaled_ = mask == 0 ? 1 : shifted(mask);
    }

    uint8_t value(uint32_t pixel) const {
        return static_cast<uint8_t>(shifted(pixel & mask_) * 255 / scaled_);
    }

  private:
    uint32_t shifted(uint32_t v) const { return shift_ >= 0 ? v >> shift_ : v << -shift_; }

    uint32_t mask_;
    int shift_;
    uint32_t scaled_ = 1;
};

}  // namespace ravinel
