#include "browse/thumb_maker.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <utility>

#include "browse/vix_catalog.h"
#include "process/filter/image_filters.h"
#include "process/resample/g_resize.h"

namespace ravinel {

namespace {

uint16_t proportionalSide(int64_t side, int64_t numerator, int64_t denominator) {
    const double exact = static_cast<double>(side * numerator) / static_cast<double>(denominator);
    return static_cast<uint16_t>(std::max<int64_t>(1, static_cast<int64_t>(exact + 0.5)));
}

}  // namespace

NkDibPixelFormat thumbPixelFormatForScreenBits(int bits) {
    if (bits >= 16) {
        return NkDibPixelFormat::pf24Bit;
    }
    return bits >= 8 ? NkDibPixelFormat::pf8BitHalftone : NkDibPixelFormat::pf1BitHalftone;
}

int32_t ThumbMaker::thumbSide() const {
    return std::clamp(imageSize, 1, kMaxThumbSide);
}

std::pair<uint16_t, uint16_t> ThumbMaker::fitSize(int32_t w, int32_t h) const {
    return fitIntoSquare(imageSize, w, h);
}

std::pair<uint16_t, uint16_t> fitIntoSquare(int32_t side, int32_t w, int32_t h) {
    const int64_t s = std::clamp(side, 1, kMaxThumbSide);
    const int64_t width = std::max(w, 1);
    const int64_t height = std::max(h, 1);
    if (width > height) {
        return {static_cast<uint16_t>(s), proportionalSide(s, height, width)};
    }
    if (width < height) {
        return {proportionalSide(s, width, height), static_cast<uint16_t>(s)};
    }
    return {static_cast<uint16_t>(s), static_cast<uint16_t>(s)};
}

void ThumbMaker::makeThumb(NkDib& dib) const {
    dib.setPixelFormat(NkDibPixelFormat::pf24Bit);
    dib.setPaletteSize(0);
    const auto [width, height] = fitSize(dib.width(), dib.height());
    if (width != dib.width() || height != dib.height()) {
        resizeToThumb(dib, width, height);
    }
    dib.setPixelFormat(thumbPixelFormat);
}

// In high quality the area resamplers each handle one direction, so a side that keeps
// its length, or shrinks while the other grows, is reduced first and enlarged second:
// every fitted size gets a real picture before the sharpening.
void ThumbMaker::resizeToThumb(NkDib& dib, uint16_t width, uint16_t height) const {
    if (!hiQuality) {
        NkDib resized;
        stretchDrawResize(resized, dib, height, width);
        dib = resized;
        return;
    }
    NkDib resized = dib;
    const auto reducedWidth = static_cast<uint16_t>(std::min<int32_t>(dib.width(), width));
    const auto reducedHeight = static_cast<uint16_t>(std::min<int32_t>(dib.height(), height));
    if (reducedWidth != dib.width() || reducedHeight != dib.height()) {
        areaReduce(resized, resized, reducedHeight, reducedWidth);
    }
    if (reducedWidth != width || reducedHeight != height) {
        areaExpand(resized, resized, height, width);
    }
    sharpen(dib, resized);
}

bool ThumbMaker::catalogBelongsToDir() const {
    return !catalogPath.empty() && catalogMatches(dir, catalogPath);
}

void ThumbMaker::load(const std::string& name, NkDib& bitmap, GraphicLoadInfo& info) {
    // A shared entry is written from the same decode, so the preview covers its size too.
    const int32_t cachedSide =
        sharedCache != nullptr ? flavourSide(sharedFlavourFor(thumbSide())) : 0;
    loader_.previewSize = hiQuality ? std::max(thumbSide(), cachedSide) : -1;
    const std::string path = dir + name;
    if (!useCatalog) {
        loader_.loadFromFile(bitmap, path, true, info);
        return;
    }
    info = GraphicLoadInfo{};
    if (useCatalogFirst) {
        if (catalogBelongsToDir()) {
            readCatalogThumb(catalogPath, name, bitmap, info);
        }
        if (info.kind == GraphicKind::gkNone) {
            loader_.loadFromFile(bitmap, path, true, info);
        }
    } else {
        loader_.loadFromFile(bitmap, path, true, info);
        if (info.kind == GraphicKind::gkNone && catalogBelongsToDir()) {
            readCatalogThumb(catalogPath, name, bitmap, info);
        }
    }
}

void ThumbMaker::takeChoicesOf(const ThumbMaker& other) {
    dir = other.dir;
    imageSize = other.imageSize;
    hiQuality = other.hiQuality;
    useCatalog = other.useCatalog;
    useCatalogFirst = other.useCatalogFirst;
    catalogPath = other.catalogPath;
    thumbPixelFormat = other.thumbPixelFormat;
    sharedCache = other.sharedCache;
    memo = other.memo;
}

void ThumbMaker::examineFile(FileInfoItem& item) {
    if (item.info.kind != GraphicKind::gkNone) {
        return;
    }
    place(item, examine(item.name));
}

void ThumbMaker::place(FileInfoItem& item, MadeThumb made) {
    if (made.thumb) {
        item.thumbIndex = store.add(std::move(*made.thumb));
    }
    item.info = std::move(made.info);
    ++madeCount;
}

MadeThumb ThumbMaker::examine(const std::string& name) {
    const std::string path = dir + name;
    const std::string key = memo != nullptr ? memoKey(path) : std::string();
    if (!key.empty()) {
        if (std::optional<MadeThumb> kept = memo->find(key)) {
            return std::move(*kept);
        }
    }
    MadeThumb made = make(name, path);
    if (!key.empty()) {
        memo->keep(key, made);
    }
    return made;
}

MadeThumb ThumbMaker::make(const std::string& name, const std::string& path) {
    NkDib bitmap;
    MadeThumb made;
    GraphicLoadInfo& info = made.info;
    if (sharedCache == nullptr || !takeFromSharedCache(path, bitmap, info)) {
        load(name, bitmap, info);
        if (sharedCache != nullptr) {
            writeToSharedCache(path, bitmap, info);
        }
    }
    if (info.kind == GraphicKind::gkNone || info.width == 0) {
        info.kind = GraphicKind::gkFile;
    } else if (info.kind == GraphicKind::gkSusiePreview &&
               (bitmap.width() > loader_.maxSide || bitmap.height() > loader_.maxSide)) {
        info.kind = GraphicKind::gkFile;
    } else {
        try {
            makeThumb(bitmap);
            made.thumb = std::move(bitmap);
        } catch (const std::exception&) {
            // No memory for this picture's thumbnail: it keeps its icon like any
            // file that is not shown as a picture.
            info.kind = GraphicKind::gkFile;
        }
    }
    return made;
}

}  // namespace ravinel
