#pragma once

#include <array>
#include <bit>
#include <cstddef>
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

    uint32_t mask() const { return mask_; }
    // Right shift of the masked value (negative: left shift).
    int shift() const { return shift_; }
    // What the shifted mask is scaled by: 1 to 255.
    uint32_t scaled() const { return scaled_; }

  private:
    uint32_t shifted(uint32_t v) const { return shift_ >= 0 ? v >> shift_ : v << -shift_; }

    uint32_t mask_;
    int shift_;
    uint32_t scaled_ = 1;
};

// The red, green and blue masks of a 16 or 32-bit picture that names none: 5-5-5 and
// 8-8-8.
inline std::array<uint32_t, 3> defaultChannelMasks(int bitCount) {
    if (bitCount == 16) {
        return {0x7C00, 0x03E0, 0x001F};
    }
    return {0xFF0000, 0x00FF00, 0x0000FF};
}

// Turns little-endian 16 or 32-bit pixels into the blue, green, red bytes of 24-bit ones.
class MaskedPixels {
  public:
    MaskedPixels(const std::array<uint32_t, 3>& masks, int bitCount)
        : red_(masks[0]), green_(masks[1]), blue_(masks[2]), bytes_(bitCount / 8) {}

    // count pixels from in to out, on the vector path in use.
    void toBgr(const uint8_t* in, size_t count, uint8_t* out) const;

  private:
    void toBgrPortable(const uint8_t* in, size_t count, uint8_t* out) const;

    ChannelMask red_;
    ChannelMask green_;
    ChannelMask blue_;
    size_t bytes_;
};

}  // namespace ravinel
