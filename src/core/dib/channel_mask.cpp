#include "dib/channel_mask.h"

#include "dib/masked_pixels_kernels.h"
#include "platform/simd_level.h"

namespace ravinel {

void MaskedPixels::toBgrPortable(const uint8_t* in, size_t count, uint8_t* out) const {
    for (size_t x = 0; x < count; ++x, in += bytes_, out += 3) {
        uint32_t pixel = uint32_t{in[0]} | uint32_t{in[1]} << 8;
        if (bytes_ == 4) {
            pixel |= uint32_t{in[2]} << 16 | uint32_t{in[3]} << 24;
        }
        out[0] = blue_.value(pixel);
        out[1] = green_.value(pixel);
        out[2] = red_.value(pixel);
    }
}

void MaskedPixels::toBgr(const uint8_t* in, size_t count, uint8_t* out) const {
    size_t done = 0;
#if defined(__x86_64__)
    const SimdLevel level = simdLevel();
    if (level != SimdLevel::portable) {
        const std::array<ChannelSpread, 3> channels{ChannelSpread(blue_), ChannelSpread(green_),
                                                    ChannelSpread(red_)};
        done = level == SimdLevel::avx2 ? maskedToBgrAvx2(in, count, bytes_, channels, out)
                                        : maskedToBgrSse2(in, count, bytes_, channels, out);
    }
#endif
    toBgrPortable(in + done * bytes_, count - done, out + done * 3);
}

}  // namespace ravinel
