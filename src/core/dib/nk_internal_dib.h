#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "dib/dib_types.h"
#include "dib/pixel_block.h"

namespace ravinel {

// The pixel store behind one or more NkDib objects. Shared through shared_ptr; a store
// is written only while one NkDib holds it (NkDib::uniqueDib).
class NkInternalDib {
  public:
    // The largest pixel block a store takes. Far above any picture the program shows
    // (4096 x 4096 x 3 is 48 MiB); it refuses sizes that only a lying header asks for.
    static constexpr size_t kMaxPixelBlockBytes = size_t{1} << 30;

    // A blank store: all pixel bytes and palette entries zero. Throws
    // NkDibInvalidDibParaError for bad parameters and NkDibInvalidDibError for a picture
    // too large to hold.
    static std::shared_ptr<NkInternalDib> createDib(int32_t width, int32_t height, int colorCount,
                                                    int bitCount);

    // A store of the size a picture needs; throws NkDibInvalidDibError when it is larger
    // than kMaxPixelBlockBytes.
    static void checkBlockSize(uint64_t size);

    // A deep copy with its own pixel block.
    std::shared_ptr<NkInternalDib> clone() const;

    // Row stride of the plain layout.
    size_t stride() const { return dibStride(header.biBitCount, width); }
    bool isTopDown() const { return header.biHeight < 0; }

    // Derived from bit count and compression; throws NkDibInvalidDibError for any
    // combination a DIB cannot have.
    NkDibPixelFormat pixelFormat() const;

    int32_t width = 1;   // always the positive header width
    int32_t height = 1;  // always the absolute header height
    BitmapInfoHeader header;
    std::array<RgbQuad, kMaxPaletteEntries> colorTable{};
    std::array<uint32_t, 3> masks{};  // channel masks of a 16 or 32-bit file while it is read
    PixelBlock pixels;
    bool paletteModified = true;
    bool useFmo = true;  // kept for the settings; every block is on the heap
};

}  // namespace ravinel
