#include <filesystem>
#include <string>

#include "browse/link_target.h"
#include "browse/thumb_maker.h"
#include "platform/file_extension.h"
#include "platform/translatable.h"

namespace ravinel {

namespace {

// "640x480 24bit": the picture's size and depth.
std::string sizeAndDepth(const GraphicLoadInfo& info) {
    return std::to_string(info.width) + "x" + std::to_string(info.height) + " " +
           pixelFormatLabel(info.pixelFormat) + "bit";
}

constexpr const char* kTypedFile = RAVINEL_TRANSLATABLE("ThumbInfo", "%1ファイル");

}  // namespace

// Links of this platform are symbolic links and ".desktop" link files; a ".LNK" file
// copied from Windows is still named as a shortcut. A link shows its target.
ThumbInfo ThumbMaker::plainFileInfo(const std::string& name) const {
    const std::string path = dir + name;
    const std::string ext = upperExtension(name);
    std::error_code error;
    const bool shortcut = ext == ".LNK" || std::filesystem::is_symlink(path, error);
    if (shortcut || ext == ".DESKTOP") {
        std::string target = getLinkTarget(path);
        if (!target.empty()) {
            return {"%1", target};
        }
        if (shortcut) {
            return {kTypedFile, "LNK"};
        }
    }
    return {kTypedFile, ext.empty() ? std::string("???") : ext.substr(1)};
}

std::string ThumbMaker::infoText(const FileInfoItem& item) const {
    const ThumbInfo parts = infoParts(item);
    return filledText(parts.pattern, {parts.text});
}

ThumbInfo ThumbMaker::infoParts(const FileInfoItem& item) const {
    const GraphicLoadInfo& info = item.info;
    switch (info.kind) {
        case GraphicKind::gkFile:
            return plainFileInfo(item.name);
        case GraphicKind::gkSusie:
            return {"%1", sizeAndDepth(info) + " bySPI"};
        case GraphicKind::gkSusiePreview:
            return {"%1", "(Preview) " + pixelFormatLabel(info.pixelFormat) + "bit bySPI"};
        case GraphicKind::gkJpeg:
            return {"%1", sizeAndDepth(info) + " JPEG"};
        case GraphicKind::gkExif:
            return {"%1", sizeAndDepth(info) + " JPEG(Exif)"};
        case GraphicKind::gkPng:
            return {"%1", sizeAndDepth(info) + " PNG"};
        case GraphicKind::gkPngInterlace:
            return {"%1", sizeAndDepth(info) + " PNG(Interlace)"};
        case GraphicKind::gkBmp:
            return {"%1", sizeAndDepth(info) + " BMP"};
        case GraphicKind::gkVix:
            return {"%1", sizeAndDepth(info) + " byViX"};
        default:
            return {};
    }
}

}  // namespace ravinel
