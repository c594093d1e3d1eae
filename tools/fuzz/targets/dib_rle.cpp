#include "dib/dib_rle.h"

#include <vector>

#include "dib/nk_dib_error.h"
#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {
namespace {

// Rows of the 8 or 4-bit stride: padded to 4 bytes.
size_t strideOf(int32_t width, int bits) {
    return ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
}

void expandBoth(FuzzInput coded, int32_t width, int32_t height, bool fourBit) {
    const size_t size = strideOf(width, fourBit ? 4 : 8) * static_cast<size_t>(height);
    for (const RleMode mode : {RleMode::Strict, RleMode::Tolerant}) {
        std::vector<uint8_t> plain(size, 0);
        try {
            if (fourBit) {
                expandRle4(coded, width, height, plain, mode);
            } else {
                expandRle8(coded, width, height, plain, mode);
            }
        } catch (const NkDibInvalidDibError&) {
            // Only strict expansion refuses data.
            if (mode == RleMode::Tolerant) {
                throw;
            }
        }
    }
}

}  // namespace

// Input: width and height (one byte each, 1 to 256, so the planes stay small), the
// coding (low bit of the third byte: 4-bit), then the coded data.
void fuzzDibRle(FuzzInput data) {
    if (data.size() < 3 || data.size() > kMaxFuzzInputBytes) {
        return;
    }
    const int32_t width = data[0] + 1;
    const int32_t height = data[1] + 1;
    const bool fourBit = (data[2] & 1) != 0;
    expandBoth(data.subspan(3), width, height, fourBit);
}

}  // namespace ravinel::fuzz
