#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "dib/nk_dib.h"

namespace ravinel {

// What produced a loaded picture; the same numbering names the signatures that the
// loader recognises in the first bytes of a file.
enum class GraphicKind : uint8_t {
    gkNone = 0,
    gkFile = 1,  // set by the thumbnail view for a file shown as a plain file
    gkSusie = 2,
    gkSusiePreview = 3,
    gkJpeg = 4,
    gkExif = 5,
    gkPng = 6,
    gkPngInterlace = 7,
    gkBmp = 8,
    gkVix = 9,  // a thumbnail taken from a ViX catalog
};

// Framework pixel formats as the result record reports them; they index kPixelFormatLabels.
inline constexpr uint8_t kPixelFormatDevice = 0;
inline constexpr uint8_t kPixelFormat1Bit = 1;
inline constexpr uint8_t kPixelFormat4Bit = 2;
inline constexpr uint8_t kPixelFormat8Bit = 3;
inline constexpr uint8_t kPixelFormat24Bit = 6;
inline constexpr uint8_t kPixelFormatCustom = 8;

inline constexpr std::array<const char*, 9> kPixelFormatLabels = {
    "Device?", "1", "4", "8", "15", "16", "24", "32", "Custom?"};

// The label texts show for a pixel format; a value outside the list reads as "Custom?".
inline std::string pixelFormatLabel(uint8_t pixelFormat) {
    return pixelFormat < kPixelFormatLabels.size() ? kPixelFormatLabels[pixelFormat]
                                                   : kPixelFormatLabels[kPixelFormatCustom];
}

// Why a load gave no picture, from the most telling step of the load; none after a
// picture was loaded.
enum class LoadFailure : uint8_t {
    none,
    notRecognized,    // no decoder knows the content or the name
    noPluginTookIt,   // the plug-ins were asked and none read the picture
    fileSize,         // too small or too large to be analysed
    decoderError,     // a decoder took the data and failed on them
    contentMismatch,  // the content is a picture format other than the extension's
    sideOverLimit,    // a side declared over the limit
    memoryOverLimit,  // the sides pass, but the pixels need more memory than a decode has
    unreadableFile,   // missing, not a regular file, or not readable
};

// The result of one load. Width and height are those of the picture in the file (not
// of a reduced decode); a plug-in preview reports width 1.
struct GraphicLoadInfo {
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelFormat = kPixelFormatCustom;
    GraphicKind kind = GraphicKind::gkNone;
    LoadFailure failure = LoadFailure::none;
    // The detail of the failure: the decoder's or the system's message, or the sizes.
    std::string failureDetail;
    // After a failure, the picture format the content shows (see pictureFormatOf), also
    // when no decoder reads it; empty: none known.
    std::string contentFormat;
    // A moving picture has more than one; the picture loaded is the first, shown for
    // firstDelayMs milliseconds as stored.
    int32_t frameCount = 1;
    int32_t firstDelayMs = 0;

    // Records a failure that tells more than the one recorded so far.
    void noteFailure(LoadFailure why, const std::string& detail) {
        if (why > failure) {
            failure = why;
            failureDetail = detail;
        }
    }

    // Callers judge a load by exactly this: a kind other than none or plain file, and a
    // width.
    bool succeeded() const {
        return kind != GraphicKind::gkNone && kind != GraphicKind::gkFile && width != 0;
    }
};

// The failure as one short line, e.g. "decoder error: JPEG: Premature end of data";
// empty without a failure.
std::string loadFailureText(const GraphicLoadInfo& info);

// The framework pixel format of a DIB, from its bit count.
inline uint8_t framePixelFormatOf(const NkDib& dib) {
    switch (dib.bitCount()) {
        case 1:
            return kPixelFormat1Bit;
        case 4:
            return kPixelFormat4Bit;
        case 8:
            return kPixelFormat8Bit;
        case 24:
            return kPixelFormat24Bit;
        default:
            return kPixelFormatCustom;
    }
}

}  // namespace ravinel
