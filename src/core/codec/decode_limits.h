#pragma once

#include <cstdint>

#include "codec/memory_budget.h"

namespace ravinel {

// The largest side of a picture the program shows by default; larger pictures count as
// not loaded. The user may set it from kMinSideLimit to kMaxSideLimit: below that range
// ordinary photos would not open, beyond it X11 cannot place a window's edges.
inline constexpr int32_t kMaxPictureSide = 4096;
inline constexpr int32_t kMinSideLimit = 1024;
inline constexpr int32_t kMaxSideLimit = 32767;
// The pixel store one decode for display may fill. Also the bound of a decoder's own
// working memory (libjpeg's coefficients), and the default budget a batch of decodes shares.
inline constexpr uint64_t kDisplayDecodeBytes = uint64_t{256} << 20;
// The pixel store one thumbnail decode may fill.
inline constexpr uint64_t kThumbnailDecodeBytes = uint64_t{64} << 20;

// Bytes of a pixel store of DIB rows (padded to 4 bytes); saturates instead of wrapping
// for sides no picture has, and is 0 for sides below 1.
uint64_t pixelStoreBytes(int64_t width, int64_t height, int bitsPerPixel);

// What one decode may cost. Every decoder reads the size its data declare and asks here
// before it allocates pixels, so that a tiny file declaring a huge picture is refused
// cheaply, with PictureTooLargeError.
struct DecodeLimits {
    int32_t maxSide = kMaxPictureSide;
    uint64_t maxPixelBytes = kDisplayDecodeBytes;
    // Shared with decodes on other threads; null: none.
    MemoryBudget* budget = nullptr;
    // The share of the job this decode is part of (a thumbnail), which keeps what its
    // decodes take until the job ends, as its picture outlives the decode; null: none,
    // each decode gives its share back when it ends.
    MemoryBudget::Reservation* jobShare = nullptr;

    // Refuses declared sides over maxSide.
    void checkSides(int64_t width, int64_t height) const;
    // Admits a picture of width x height decoded into a store of bitsPerPixel, which needs
    // workBytes of memory besides: refuses it when a side passes maxSide, the store passes
    // maxPixelBytes or store and work together pass the whole budget, and otherwise
    // returns the budget's share for both (empty without a budget), once it is free. With
    // a job share, that share grows to hold both instead and an empty share is returned.
    MemoryBudget::Reservation admit(int64_t width, int64_t height, int bitsPerPixel,
                                    uint64_t workBytes = 0) const;
    // The same sizes without the budget: for a second look at a picture whose memory an
    // outer step has already taken its share for.
    DecodeLimits withoutBudget() const { return {maxSide, maxPixelBytes, nullptr, nullptr}; }
};

}  // namespace ravinel
