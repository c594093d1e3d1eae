#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "browse/file_info_item.h"
#include "browse/nk_dib_list.h"
#include "browse/thumb_memo.h"
#include "codec/graphic_loader.h"
#include "dib/dib_types.h"
#include "dib/nk_dib.h"
#include "thumb_cache/shared_thumb_cache.h"

namespace ravinel {

// The description of an examined item in parts: a pattern with %1 ("%1" for a picture or
// a link's target, "%1ファイル" with the file's type for other files) and what fills it.
struct ThumbInfo {
    const char* pattern = "%1";
    std::string text;
};

// The largest thumbnail side: a tile's size, not a picture's, so it does not follow the
// largest picture side the user sets.
inline constexpr int32_t kMaxThumbSide = 4096;

// The pixel format of thumbnails for a screen of this many bits per pixel: 24 bit from
// 16 bits up, 8-bit halftone from 8, 1-bit halftone below.
NkDibPixelFormat thumbPixelFormatForScreenBits(int bits);

// The size of a w x h picture fitted into a square of side (kept within 1..4096): the
// longer side becomes side, the other keeps the proportion, at least 1. {width, height}.
std::pair<uint16_t, uint16_t> fitIntoSquare(int32_t side, int32_t w, int32_t h);

// The shared thumbnails' size for a thumbnail of this side: large above 128, else normal.
ThumbFlavour sharedFlavourFor(int32_t thumbSide);

// Turns the files of a folder into thumbnails and describes them: the part of the
// thumbnail view that needs no window. The view sets the fields, hands items to
// examineFile one at a time and shows the thumbnails of the store.
class ThumbMaker {
  public:
    // The loader is not owned; examineFile sets its previewSize.
    explicit ThumbMaker(GraphicLoader& loader) : loader_(loader) {}

    std::string dir;               // folder of the items, ending in "/"
    int32_t imageSize = 100;       // edge of the square a thumbnail fills on its longer side
    bool hiQuality = true;         // area resampling and sharpening rather than a plain stretch
    bool useCatalog = false;       // take thumbnails from the ViX catalog at catalogPath
    bool useCatalogFirst = false;  // the catalog before the loader rather than after it
    std::string catalogPath;       // catalog found for dir; empty: none
    NkDibPixelFormat thumbPixelFormat = NkDibPixelFormat::pf24Bit;
    // The desktop's shared thumbnails, not owned; null: not used. A valid entry at least
    // as large as the thumbnail stands in for the file's picture; a picture made from a
    // file is written back, and a file no decoder knows is recorded as a failure.
    const SharedThumbCache* sharedCache = nullptr;
    // Thumbnails kept from earlier listings, not owned; null: none kept.
    ThumbMemo* memo = nullptr;
    NkDibList store;        // the thumbnails; item.thumbIndex points into it
    int32_t madeCount = 0;  // items examined since the folder was set

    // Examines an item not yet examined (kind 0): loads it or takes its catalog
    // thumbnail, stores the thumbnail and its position, and records the result in
    // item.info (kind gkFile when it is not shown as a picture). Never throws for a bad
    // file; an item already examined is left alone. examine, then place.
    void examineFile(FileInfoItem& item);
    // Examines the file of that name in dir and makes its thumbnail, touching neither the
    // items nor the store: makers of other threads with the same choices give the same
    // bytes. The memo and the shared cache may be shared with them.
    MadeThumb examine(const std::string& name);
    // Puts what examining the item gave into the store and the item, and counts it.
    void place(FileInfoItem& item, MadeThumb made);
    // Takes every choice of another maker (not its store or count), as for another thread.
    void takeChoicesOf(const ThumbMaker& other);
    // The thumbnail size of a w x h picture: the longer side becomes imageSize (kept
    // within 1..4096), the other keeps the proportion, at least 1. {width, height}.
    std::pair<uint16_t, uint16_t> fitSize(int32_t w, int32_t h) const;
    // Turns a decoded picture into its thumbnail in place: fitted size, thumbPixelFormat.
    void makeThumb(NkDib& dib) const;
    // The description of an examined item, as the tile's hint shows it: info's pattern
    // filled in as it stands (the tool prints it; the windows translate the pattern of
    // infoParts).
    std::string infoText(const FileInfoItem& item) const;
    ThumbInfo infoParts(const FileInfoItem& item) const;

  private:
    int32_t thumbSide() const;
    void load(const std::string& name, NkDib& bitmap, GraphicLoadInfo& info);
    bool catalogBelongsToDir() const;
    std::string memoKey(const std::string& path) const;
    MadeThumb make(const std::string& name, const std::string& path);
    bool takeFromSharedCache(const std::string& path, NkDib& bitmap, GraphicLoadInfo& info) const;
    void writeToSharedCache(const std::string& path, const NkDib& bitmap,
                            const GraphicLoadInfo& info) const;
    void resizeToThumb(NkDib& dib, uint16_t width, uint16_t height) const;
    ThumbInfo plainFileInfo(const std::string& name) const;

    GraphicLoader& loader_;
};

}  // namespace ravinel
