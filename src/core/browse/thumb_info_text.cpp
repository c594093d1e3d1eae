#include <filesystem>
#include <string>

#include "browse/link_target.h"
#include "browse/thumb_maker.h"
#include "platform/file_extension.h"

namespace ravinel {

namespace {

// "640x480 24bit": the picture's size and depth.
std::string sizeAndDepth(const GraphicLoadInfo& info) {
    return std::to_string(info.width) + "x" + std::to_string(info.height) + " " +
           pixelFormatLabel(info.pixelFormat) + "bit";
}

}  // namespace

// Links of this platform are symbolic links and ".desktop" link files; a ".LNK" file
// copied from Windows is still named as a shortcut. A link shows its target.
std::string ThumbMaker::plainFileText(const std::string& name) const {
    const std::string path = dir + name;
    const std::string ext = upperExtension(name);
    std::error_code error;
    const bool shortcut = ext == ".LNK" || std::filesystem::is_symlink(path, error);
    if (shortcut || ext == ".DESKTOP") {
        std::string target = getLinkTarget(path);
        if (!target.empty()) {
            return target;
        }
        if (shortcut) {
            return "LNKファイル";
        }
    }
    return (ext.empty() ? std::string("???") : ext.substr(1)) + "ファイル";
}

std::string ThumbMaker::infoText(const FileInfoItem& item) const {
    const GraphicLoadInfo& info = item.info;
    switch (info.kind) {
        case GraphicKind::gkFile:
            return plainFileText(item.name);
        case GraphicKind::gkSusie:
            return sizeAndDepth(info) + " bySPI";
        case GraphicKind::gkSusiePreview:
            return "(Preview) " + pixelFormatLabel(info.pixelFormat) + "bit bySPI";
        case GraphicKind::gkJpeg:
            return sizeAndDepth(info) + " JPEG";
        case GraphicKind::gkExif:
            return sizeAndDepth(info) + " JPEG(Exif)";
        case GraphicKind::gkPng:
            return sizeAndDepth(info) + " PNG";
        case GraphicKind::gkPngInterlace:
            return sizeAndDepth(info) + " PNG(Interlace)";
        case GraphicKind::gkBmp:
            return sizeAndDepth(info) + " BMP";
        case GraphicKind::gkVix:
            return sizeAndDepth(info) + " byViX";
        default:
            return {};
    }
}

}  // namespace ravinel
