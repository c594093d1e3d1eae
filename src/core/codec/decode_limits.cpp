#include "codec/decode_limits.h"

#include <limits>
#include <optional>
#include <utility>

#include "codec/graphic_load_error.h"

namespace ravinel {

namespace {

constexpr uint64_t kNoLimit = std::numeric_limits<uint64_t>::max();

uint64_t saturatingAdd(uint64_t a, uint64_t b) {
    return a > kNoLimit - b ? kNoLimit : a + b;
}

}  // namespace

uint64_t pixelStoreBytes(int64_t width, int64_t height, int bitsPerPixel) {
    if (width < 1 || height < 1 || bitsPerPixel < 1) {
        return 0;
    }
    const auto w = static_cast<uint64_t>(width);
    const auto bits = static_cast<uint64_t>(bitsPerPixel);
    if (w > kNoLimit / bits - 31) {
        return kNoLimit;
    }
    const uint64_t rowBytes = (w * bits + 31) / 32 * 4;
    const auto rows = static_cast<uint64_t>(height);
    return rowBytes > kNoLimit / rows ? kNoLimit : rowBytes * rows;
}

void DecodeLimits::checkSides(int64_t width, int64_t height) const {
    if (width > maxSide || height > maxSide) {
        throw PictureTooLargeError(width, height);
    }
}

MemoryBudget::Reservation DecodeLimits::admit(int64_t width, int64_t height, int bitsPerPixel,
                                              uint64_t workBytes) const {
    checkSides(width, height);
    const uint64_t storeBytes = pixelStoreBytes(width, height, bitsPerPixel);
    if (storeBytes > maxPixelBytes) {
        throw PictureTooLargeError(width, height, true);
    }
    if (budget == nullptr) {
        return {};
    }
    const uint64_t needed = saturatingAdd(storeBytes, workBytes);
    if (jobShare != nullptr) {
        if (!budget->enlarge(*jobShare, needed)) {
            throw PictureTooLargeError(width, height, true);
        }
        return {};
    }
    std::optional<MemoryBudget::Reservation> share = budget->reserve(needed);
    if (!share) {
        throw PictureTooLargeError(width, height, true);
    }
    return std::move(*share);
}

}  // namespace ravinel
