#include "color/profile_transform.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "dib/conversion_bands.h"
#include "platform/parallel_bands.h"

namespace ravinel {

namespace {

// Every grey level of a grey source, converted once: a grey picture maps through it.
using GrayTable = std::array<std::array<uint8_t, 3>, 256>;

GrayTable grayTable(void* transform) {
    std::array<uint8_t, 256> levels{};
    for (size_t i = 0; i < levels.size(); ++i) {
        levels[i] = static_cast<uint8_t>(i);
    }
    GrayTable table{};
    cmsDoTransform(transform, levels.data(), table.data(), levels.size());
    return table;
}

bool isGray(const uint8_t* bgr) {
    return bgr[0] == bgr[1] && bgr[1] == bgr[2];
}

// The rows of a picture for writing, taken on the calling thread so that the bands only
// touch pixels.
std::vector<uint8_t*> rowsOf(NkDib& picture) {
    std::vector<uint8_t*> rows(static_cast<size_t>(picture.height()));
    for (size_t y = 0; y < rows.size(); ++y) {
        rows[y] = picture.scanLine(static_cast<int>(y));
    }
    return rows;
}

}  // namespace

std::unique_ptr<const ProfileTransform> ProfileTransform::between(const IccProfile& source,
                                                                  const IccProfile& target) {
    const ProfileColorSpace space = source.colorSpace();
    if (space == ProfileColorSpace::other || target.colorSpace() != ProfileColorSpace::rgb) {
        return nullptr;
    }
    // Without the one-pixel cache a transform holds no state while it runs, so the bands
    // and the thumbnail threads share it.
    void* handle = cmsCreateTransform(
        source.handle(), space == ProfileColorSpace::rgb ? TYPE_BGR_8 : TYPE_GRAY_8,
        target.handle(), TYPE_BGR_8, INTENT_PERCEPTUAL, cmsFLAGS_NOCACHE);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<const ProfileTransform>(new ProfileTransform(handle, space));
}

ProfileTransform::~ProfileTransform() {
    cmsDeleteTransform(handle_);
}

bool ProfileTransform::applyTo(NkDib& picture) const {
    if (picture.bitCount() <= 8) {
        return applyToPalette(picture);
    }
    if (picture.bitCount() != 24) {
        return false;
    }
    return source_ == ProfileColorSpace::rgb ? applyToRgbRows(picture) : applyToGrayRows(picture);
}

bool ProfileTransform::applyToRgbRows(NkDib& picture) const {
    const std::vector<uint8_t*> rows = rowsOf(picture);
    const auto width = static_cast<cmsUInt32Number>(picture.width());
    // In place: source and target pixels have the same size, and Little CMS reads each
    // pixel before it writes it.
    forEachBand(rows.size(), conversionBandRows(width), [&](size_t begin, size_t end) {
        for (size_t y = begin; y < end; ++y) {
            cmsDoTransform(handle_, rows[y], rows[y], width);
        }
    });
    return true;
}

bool ProfileTransform::applyToGrayRows(NkDib& picture) const {
    const auto width = static_cast<size_t>(picture.width());
    for (int y = 0; y < picture.height(); ++y) {
        const uint8_t* row = picture.constScanLine(y);
        for (size_t x = 0; x < width; ++x) {
            if (!isGray(row + x * 3)) {
                return false;
            }
        }
    }
    const GrayTable table = grayTable(handle_);
    const std::vector<uint8_t*> rows = rowsOf(picture);
    forEachBand(rows.size(), conversionBandRows(picture.width()), [&](size_t begin, size_t end) {
        for (size_t y = begin; y < end; ++y) {
            for (uint8_t* pixel = rows[y]; pixel != rows[y] + width * 3; pixel += 3) {
                std::memcpy(pixel, table[pixel[0]].data(), 3);
            }
        }
    });
    return true;
}

bool ProfileTransform::applyToPalette(NkDib& picture) const {
    std::vector<RgbQuad> entries(picture.palette().begin(), picture.palette().end());
    std::vector<uint8_t> colors(entries.size() * 3);
    for (size_t i = 0; i < entries.size(); ++i) {
        colors[i * 3] = entries[i].rgbBlue;
        colors[i * 3 + 1] = entries[i].rgbGreen;
        colors[i * 3 + 2] = entries[i].rgbRed;
    }
    if (source_ == ProfileColorSpace::rgb) {
        cmsDoTransform(handle_, colors.data(), colors.data(),
                       static_cast<cmsUInt32Number>(entries.size()));
    } else {
        for (size_t i = 0; i < entries.size(); ++i) {
            if (!isGray(&colors[i * 3])) {
                return false;
            }
        }
        const GrayTable table = grayTable(handle_);
        for (size_t i = 0; i < entries.size(); ++i) {
            std::memcpy(&colors[i * 3], table[colors[i * 3]].data(), 3);
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].rgbBlue = colors[i * 3];
        entries[i].rgbGreen = colors[i * 3 + 1];
        entries[i].rgbRed = colors[i * 3 + 2];
        picture.setPaletteEntry(static_cast<int>(i), entries[i]);
    }
    return true;
}

}  // namespace ravinel
