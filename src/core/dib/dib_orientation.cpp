#include "dib/dib_orientation.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "dib/conversion_bands.h"
#include "dib/dib_pixel_index.h"
#include "platform/parallel_bands.h"

namespace ravinel {

namespace {

// Square blocks of the upright picture are filled one at a time, so that a quarter turn
// reads the source rows of a block while they are still in the cache; bands of block rows
// go to the worker threads.
constexpr int kBlockSide = 64;

// Where upright pixel (x, y) comes from: the coordinates exchanged where the sides are,
// then mirrored along each source axis as the orientation says.
struct SourceMapping {
    bool exchange;
    bool mirrorX;
    bool mirrorY;
};

SourceMapping mappingOf(DibOrientation orientation) {
    switch (orientation) {
        case DibOrientation::topLeft:
            return {false, false, false};
        case DibOrientation::topRight:
            return {false, true, false};
        case DibOrientation::bottomRight:
            return {false, true, true};
        case DibOrientation::bottomLeft:
            return {false, false, true};
        case DibOrientation::leftTop:
            return {true, false, false};
        case DibOrientation::rightTop:
            return {true, false, true};
        case DibOrientation::rightBottom:
            return {true, true, true};
        case DibOrientation::leftBottom:
            return {true, true, false};
    }
    return {false, false, false};
}

NkDib blankLike(const NkDib& source, int32_t width, int32_t height) {
    NkDib picture;
    picture.setBitCount(source.bitCount());
    picture.setWidth(width);
    picture.setHeight(height);
    picture.setPaletteSize(source.paletteSize());
    const std::span<const RgbQuad> palette = source.palette();
    for (size_t i = 0; i < palette.size(); ++i) {
        picture.setPaletteEntry(static_cast<int>(i), palette[i]);
    }
    return picture;
}

// Copies pixel sx of a source row to pixel x of a target row.
void copyPixel(const uint8_t* source, int64_t sx, uint8_t* target, int64_t x, int bitCount) {
    switch (bitCount) {
        case 24:
            std::memcpy(target + x * 3, source + sx * 3, 3);
            break;
        case 8:
            target[x] = source[sx];
            break;
        default:
            setPaletteIndex(target, x, bitCount, paletteIndex(source, sx, bitCount));
            break;
    }
}

}  // namespace

DibOrientation dibOrientationOfTag(int value) {
    if (value < 1 || value > 8) {
        return DibOrientation::topLeft;
    }
    return static_cast<DibOrientation>(value);
}

NkDib turnedUpright(const NkDib& picture, DibOrientation orientation) {
    if (orientation == DibOrientation::topLeft) {
        return picture;
    }
    NkDib source = picture;
    if (source.pixelFormat() == NkDibPixelFormat::pf4BitRle) {
        source.setPixelFormat(NkDibPixelFormat::pf4Bit);
    } else if (source.pixelFormat() == NkDibPixelFormat::pf8BitRle) {
        source.setPixelFormat(NkDibPixelFormat::pf8Bit);
    }
    const SourceMapping mapping = mappingOf(orientation);
    const int32_t width = source.width();
    const int32_t height = source.height();
    const int32_t uprightWidth = mapping.exchange ? height : width;
    const int32_t uprightHeight = mapping.exchange ? width : height;
    NkDib upright = blankLike(source, uprightWidth, uprightHeight);

    std::vector<const uint8_t*> rows(static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        rows[static_cast<size_t>(y)] = source.constScanLine(y);
    }
    std::vector<uint8_t*> targets(static_cast<size_t>(uprightHeight));
    for (int32_t y = 0; y < uprightHeight; ++y) {
        targets[static_cast<size_t>(y)] = upright.scanLine(y);
    }
    const int bitCount = source.bitCount();
    // Each band writes whole rows of its own, so packed pixels never share a byte across
    // bands.
    const size_t blockRows = static_cast<size_t>((uprightHeight + kBlockSide - 1) / kBlockSide);
    const size_t minBlocks = conversionBandRows(int64_t{uprightWidth} * kBlockSide);
    forEachBand(blockRows, minBlocks, [&](size_t firstBlock, size_t endBlock) {
        const auto first = static_cast<int32_t>(firstBlock) * kBlockSide;
        const int32_t end = std::min(static_cast<int32_t>(endBlock) * kBlockSide, uprightHeight);
        for (int32_t top = first; top < end; top += kBlockSide) {
            const int32_t bottom = std::min(top + kBlockSide, end);
            for (int32_t left = 0; left < uprightWidth; left += kBlockSide) {
                const int32_t right = std::min(left + kBlockSide, uprightWidth);
                for (int32_t y = top; y < bottom; ++y) {
                    uint8_t* target = targets[static_cast<size_t>(y)];
                    for (int32_t x = left; x < right; ++x) {
                        int32_t sx = mapping.exchange ? y : x;
                        int32_t sy = mapping.exchange ? x : y;
                        sx = mapping.mirrorX ? width - 1 - sx : sx;
                        sy = mapping.mirrorY ? height - 1 - sy : sy;
                        copyPixel(rows[static_cast<size_t>(sy)], sx, target, x, bitCount);
                    }
                }
            }
        }
    });
    return upright;
}

}  // namespace ravinel
