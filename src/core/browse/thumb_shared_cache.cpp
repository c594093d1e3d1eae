#include <algorithm>
#include <array>
#include <exception>

#include "browse/thumb_maker.h"
#include "codec/picture_format.h"
#include "platform/regular_file.h"
#include "process/resample/g_resize.h"
#include "thumb_cache/thumb_cache_error.h"

namespace ravinel {

namespace {

constexpr const char* kKindKey = "X-Ravinel::Kind";
constexpr const char* kPixelFormatKey = "X-Ravinel::PixelFormat";

std::string mimeOfFormat(const std::string& name) {
    static const std::array<std::pair<const char*, const char*>, 9> kMimes = {{
        {"JPEG", "image/jpeg"},
        {"PNG", "image/png"},
        {"GIF", "image/gif"},
        {"BMP", "image/bmp"},
        {"TIFF", "image/tiff"},
        {"WebP", "image/webp"},
        {"AVIF", "image/avif"},
        {"HEIF", "image/heif"},
        {"JPEG XL", "image/jxl"},
    }};
    for (const auto& [format, mime] : kMimes) {
        if (name == format) {
            return mime;
        }
    }
    return {};
}

// The MIME type of the picture the loader read: its kind tells the built-in formats,
// the content's signature the plug-ins' ones.
std::string mimeOf(const std::string& path, GraphicKind kind) {
    switch (kind) {
        case GraphicKind::gkJpeg:
        case GraphicKind::gkExif:
            return "image/jpeg";
        case GraphicKind::gkPng:
        case GraphicKind::gkPngInterlace:
            return "image/png";
        case GraphicKind::gkBmp:
            return "image/bmp";
        default:
            break;
    }
    const RegularFile file(path);
    std::array<uint8_t, kPictureFormatHeadBytes> head{};
    const int64_t got = file.isOpen() ? file.readAt(head.data(), head.size(), 0) : -1;
    if (got <= 0) {
        return {};
    }
    return mimeOfFormat(
        pictureFormatOf(std::span(head.data(), static_cast<size_t>(got)), path).name);
}

// The kind an entry stands for: the one this program wrote, else the one its MIME type
// names; pictures of other formats count as read by a plug-in.
GraphicKind kindOf(const CachedThumb& thumb) {
    if (const auto found = thumb.text.find(kKindKey); found != thumb.text.end()) {
        for (const GraphicKind kind :
             {GraphicKind::gkSusie, GraphicKind::gkJpeg, GraphicKind::gkExif, GraphicKind::gkPng,
              GraphicKind::gkPngInterlace, GraphicKind::gkBmp}) {
            if (found->second == std::to_string(static_cast<int>(kind))) {
                return kind;
            }
        }
    }
    const auto mime = thumb.text.find("Thumb::Mime");
    const std::string type = mime == thumb.text.end() ? std::string() : mime->second;
    if (type == "image/jpeg") {
        return GraphicKind::gkJpeg;
    }
    if (type == "image/png") {
        return GraphicKind::gkPng;
    }
    return type == "image/bmp" ? GraphicKind::gkBmp : GraphicKind::gkSusie;
}

uint8_t pixelFormatOf(const CachedThumb& thumb) {
    if (const auto found = thumb.text.find(kPixelFormatKey); found != thumb.text.end()) {
        for (uint8_t format = 0; format < kPixelFormatLabels.size(); ++format) {
            if (found->second == std::to_string(format)) {
                return format;
            }
        }
    }
    return kPixelFormat24Bit;
}

// A load that fails the same way until the file changes: not a picture, or a picture no
// decoder here reads. Limits the user may raise and unreadable files are tried again.
bool isLastingFailure(const GraphicLoadInfo& info) {
    if (info.kind != GraphicKind::gkNone) {
        return false;
    }
    switch (info.failure) {
        case LoadFailure::none:
        case LoadFailure::notRecognized:
        case LoadFailure::noPluginTookIt:
        case LoadFailure::decoderError:
        case LoadFailure::contentMismatch:
            return true;
        default:
            return false;
    }
}

}  // namespace

ThumbFlavour sharedFlavourFor(int32_t thumbSide) {
    return thumbSide > flavourSide(ThumbFlavour::normal) ? ThumbFlavour::large
                                                         : ThumbFlavour::normal;
}

// An entry stands in for the picture when the thumbnail needs no more than it holds:
// its longer side reaches the thumbnail's, or it is the whole picture.
bool ThumbMaker::takeFromSharedCache(const std::string& path, NkDib& bitmap,
                                     GraphicLoadInfo& info) const {
    const int32_t side = thumbSide();
    const ThumbFlavour first = sharedFlavourFor(side);
    const ThumbFlavour second =
        first == ThumbFlavour::normal ? ThumbFlavour::large : ThumbFlavour::normal;
    for (const ThumbFlavour flavour : {first, second}) {
        auto thumb = sharedCache->find(path, flavour);
        if (!thumb || thumb->imageWidth == 0 || thumb->imageHeight == 0 ||
            thumb->imageWidth > UINT16_MAX || thumb->imageHeight > UINT16_MAX) {
            continue;
        }
        const bool whole = static_cast<uint32_t>(thumb->picture.width()) == thumb->imageWidth &&
                           static_cast<uint32_t>(thumb->picture.height()) == thumb->imageHeight;
        if (!whole && std::max(thumb->picture.width(), thumb->picture.height()) < side) {
            continue;
        }
        info = GraphicLoadInfo{};
        info.width = static_cast<uint16_t>(thumb->imageWidth);
        info.height = static_cast<uint16_t>(thumb->imageHeight);
        info.kind = kindOf(*thumb);
        info.pixelFormat = pixelFormatOf(*thumb);
        bitmap = std::move(thumb->picture);
        return true;
    }
    if (sharedCache->hasFailure(path)) {
        info = GraphicLoadInfo{};
        info.failure = LoadFailure::notRecognized;
        return true;
    }
    return false;
}

// The shared folders are a help: one that cannot be written leaves browsing as it was.
void ThumbMaker::writeToSharedCache(const std::string& path, const NkDib& bitmap,
                                    const GraphicLoadInfo& info) const {
    try {
        if (isLastingFailure(info)) {
            sharedCache->storeFailure(path);
            return;
        }
        // Catalog thumbnails and plug-in previews are not the file's picture.
        if (!info.succeeded() || info.kind == GraphicKind::gkVix ||
            info.kind == GraphicKind::gkSusiePreview) {
            return;
        }
        const ThumbFlavour flavour = sharedFlavourFor(thumbSide());
        const int32_t limit = flavourSide(flavour);
        NkDib picture = bitmap;
        picture.setPixelFormat(NkDibPixelFormat::pf24Bit);
        if (picture.width() > limit || picture.height() > limit) {
            const auto [width, height] = fitIntoSquare(limit, picture.width(), picture.height());
            areaReduce(picture, picture, height, width);
        }
        ThumbFacts facts{mimeOf(path, info.kind), info.width, info.height, {}};
        facts.extra = {{kKindKey, std::to_string(static_cast<int>(info.kind))},
                       {kPixelFormatKey, std::to_string(info.pixelFormat)}};
        sharedCache->store(path, flavour, picture, facts);
    } catch (const std::exception&) {
        // No room or no right to write: the thumbnail is shown all the same.
    }
}

}  // namespace ravinel
