// A small picture plug-in for the host's tests. Its pictures ("RVT1" files) are
// "RVT1", width, height, blue, green, mode: a picture of that size whose pixels have the
// given blue and green and the plug-in's tag as red. The mode byte asks for a well-formed
// or (of the plug-in with tag 1 only) a broken result, so that the host's checks can be
// exercised. FIXTURE_TAG chooses
// the variant: 1 a picture plug-in with two filter entries, 2 one without GetPreview,
// 3 an archive plug-in, 4 one without GetPluginInfo, 5 an "00XN" one.
#include <spi_api.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if FIXTURE_TAG == 1
#define FIXTURE_INFO                                                                      \
    "00IN", "Ravinel test plug-in", "*.rvt", "Ravinel test picture", "*.rva;*.rvb;*.rvc", \
        "Ravinel three masks"
#elif FIXTURE_TAG == 2
#define FIXTURE_INFO "00IN", "Ravinel test plug-in", "*.rvn", "Ravinel picture without preview"
#define FIXTURE_NO_PREVIEW
#elif FIXTURE_TAG == 3
#define FIXTURE_INFO "00AM", "Ravinel test plug-in", "*.rvz", "Ravinel test archive"
#define FIXTURE_ARCHIVE
#elif FIXTURE_TAG == 4
#define FIXTURE_NO_PLUGIN_INFO
#else
#define FIXTURE_INFO "00XN", "Ravinel test plug-in"
#endif

namespace {

enum Mode : unsigned char {
    kTrueColour = 0,
    kPalette = 1,
    kBadBitCount = 2,
    kBadHeaderSize = 3,
    kPixelsTooShort = 4,
    kTooManyColours = 5,
    kInfoTooShort = 6,
    kTopDown = 7,
    kNoBits = 8,
    kNegativeWidth = 9,
    kHugeWidth = 10,
    kHugeSides = 11,
    kColours257 = 12,
    kHeaderBeyondBlock = 13,
    kNoInfo = 14,
    kBitFields = 15,
    kProgressStorm = 16,
    kZeroHeight = 17,
    kDeclaresHuge = 18,
    kAlpha = 19,
    kAlphaBadMasks = 20,
    kAlphaBadHeaderSize = 21,
    kFrames = 22,
    kFramesHugeCount = 23,
    kFramesWrongSize = 24,
    kFramesBadDelay = 25,
};

// Moving pictures have three frames, frame i with blue raised by i and i * 10 ms of delay;
// the other modes get that wrong in their own way.
constexpr int32_t kFrameCount = 3;

// Calls enough to notice a host that does real work per call, with every kind of
// nonsense a plug-in could report.
constexpr int kStormCalls = 1000000;

struct Picture {
    int width;
    int height;
    unsigned char blue;
    unsigned char green;
    unsigned char mode;
};

constexpr size_t kPictureBytes = 9;

bool parse(const unsigned char* bytes, size_t length, Picture& picture) {
    if (length < kPictureBytes || std::memcmp(bytes, "RVT1", 4) != 0) {
        return false;
    }
    picture = {bytes[4], bytes[5], bytes[6], bytes[7], bytes[8]};
    if (FIXTURE_TAG != 1 && picture.mode != kPalette && picture.mode != kTopDown) {
        picture.mode = kTrueColour;
    }
    return picture.width > 0 && picture.height > 0;
}

bool readInput(const char* buf, intptr_t len, uint32_t flag, Picture& picture) {
    if ((flag & 7) == SPI_INPUT_MEMORY) {
        return len > 0 && parse(reinterpret_cast<const unsigned char*>(buf), size_t(len), picture);
    }
    FILE* file = std::fopen(buf, "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char bytes[kPictureBytes];
    const bool read = std::fseek(file, long(len), SEEK_SET) == 0 &&
                      std::fread(bytes, 1, sizeof bytes, file) == sizeof bytes;
    std::fclose(file);
    return read && parse(bytes, sizeof bytes, picture);
}

int32_t makePicture(Picture picture, SpiHandle* pHBInfo, SpiHandle* pHBm,
                    SpiProgressCallback progress, intptr_t lData) {
    const bool palette = picture.mode == kPalette;
    const bool alpha = picture.mode >= kAlpha;
    const int bitCount = palette ? 8 : alpha ? 32 : 24;
    const uint32_t colours = palette ? 4 : 0;
    const size_t stride = (size_t(picture.width) * bitCount + 31) / 32 * 4;
    size_t bitsBytes = stride * size_t(picture.height);
    size_t infoBytes = alpha ? sizeof(SpiBitmapV5Header)
                             : sizeof(SpiBitmapInfoHeader) + colours * sizeof(SpiRgbQuad);

    SpiBitmapV5Header v5{};
    v5.redMask = 0x00FF0000;
    v5.greenMask = 0x0000FF00;
    v5.blueMask = 0x000000FF;
    v5.alphaMask = 0xFF000000;
    SpiBitmapInfoHeader& header = v5.info;
    header.biSize = 40;
    header.biWidth = picture.width;
    header.biHeight = picture.mode == kTopDown ? -picture.height : picture.height;
    header.biPlanes = 1;
    header.biBitCount = uint16_t(bitCount);
    header.biClrUsed = colours;
    switch (picture.mode) {
        case kBadBitCount:
            header.biBitCount = 7;
            break;
        case kBadHeaderSize:
            header.biSize = 9999;
            break;
        case kPixelsTooShort:
            bitsBytes -= 1;
            break;
        case kTooManyColours:
            header.biClrUsed = 100000;
            break;
        case kInfoTooShort:
            infoBytes = 20;
            break;
        case kNegativeWidth:
            header.biWidth = -picture.width;
            break;
        case kHugeWidth:
            header.biWidth = INT32_MAX;
            break;
        case kHugeSides:
            header.biBitCount = 32;
            header.biWidth = INT32_MAX;
            header.biHeight = -INT32_MAX;
            break;
        case kColours257:
            header.biBitCount = 8;
            header.biClrUsed = 257;
            infoBytes = sizeof(SpiBitmapInfoHeader) + 257 * sizeof(SpiRgbQuad);
            break;
        case kHeaderBeyondBlock:
            header.biSize = 124;
            break;
        case kBitFields:
            header.biCompression = 3;
            break;
        case kZeroHeight:
            header.biHeight = 0;
            break;
        case kAlpha:
            header.biSize = sizeof v5;
            header.biCompression = SPI_BI_BITFIELDS;
            break;
        case kAlphaBadMasks:
            header.biSize = sizeof v5;
            header.biCompression = SPI_BI_BITFIELDS;
            v5.alphaMask = 0x00FF0000;
            break;
        case kAlphaBadHeaderSize:
            header.biSize = 100;
            header.biCompression = SPI_BI_BITFIELDS;
            break;
        default:
            break;
    }
    if (progress != nullptr) {
        progress(0, picture.height, lData);
    }
    if (progress != nullptr && picture.mode == kProgressStorm) {
        for (int call = 0; call < kStormCalls; ++call) {
            const int32_t wild[] = {0, -1, INT32_MIN, INT32_MAX, call, -call};
            progress(wild[call % 6], wild[(call / 6) % 6], lData);
        }
    }
    auto* info = static_cast<unsigned char*>(std::calloc(1, infoBytes));
    auto* bits = static_cast<unsigned char*>(std::calloc(1, bitsBytes));
    const size_t headerCopy = infoBytes < sizeof header ? infoBytes : sizeof header;
    std::memcpy(info, &v5, alpha ? sizeof v5 : headerCopy);
    if (palette) {
        auto* table = reinterpret_cast<SpiRgbQuad*>(info + sizeof header);
        for (uint32_t i = 0; i < colours; ++i) {
            table[i] = {picture.blue, picture.green, FIXTURE_TAG, 0};
        }
    }
    for (int y = 0; palette == false && y < picture.height && picture.mode != kPixelsTooShort;
         ++y) {
        for (int x = 0; x < picture.width; ++x) {
            unsigned char* pixel = bits + size_t(y) * stride + size_t(x) * size_t(bitCount / 8);
            pixel[0] = picture.blue;
            pixel[1] = picture.green;
            pixel[2] = FIXTURE_TAG;
            if (alpha) {
                // Opacity grows along the bottom row, which comes first; the rest is opaque.
                pixel[3] = y == 0 ? static_cast<unsigned char>(x * 127) : 255;
            }
        }
    }
    if (progress != nullptr) {
        progress(picture.height, picture.height, lData);
    }
    if (picture.mode == kNoInfo) {
        std::free(info);
        info = nullptr;
    }
    *pHBInfo = info;
    if (picture.mode == kNoBits) {
        std::free(bits);
        bits = nullptr;
    }
    *pHBm = bits;
    return SPI_ALL_RIGHT;
}

}  // namespace

#ifndef FIXTURE_NO_PLUGIN_INFO
int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
    static const char* const kInfo[] = {FIXTURE_INFO};
    const int32_t entries = int32_t(sizeof kInfo / sizeof kInfo[0]);
    if (infono < 0 || infono >= entries) {
        return 0;
    }
    std::snprintf(buf, size_t(buflen), "%s", kInfo[infono]);
    return int32_t(std::strlen(buf));
}
#endif

int32_t IsSupported(const char*, const void* header) {
    return std::memcmp(header, "RVT1", 4) == 0;
}

int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* info) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    std::memset(info, 0, sizeof *info);
    // A plug-in that would decode pictures far larger than it takes to declare them.
    info->width = picture.mode == kDeclaresHuge ? 60000 : picture.width;
    info->height = picture.mode == kDeclaresHuge ? 60000 : picture.height;
    info->colorDepth = 24;
    info->hInfo = std::malloc(8);
    std::memcpy(info->hInfo, "comment", 8);
    return SPI_ALL_RIGHT;
}

int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                   SpiHandle* pHBm, SpiProgressCallback progress, intptr_t lData) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    return makePicture(picture, pHBInfo, pHBm, progress, lData);
}

#if FIXTURE_TAG == 1
int32_t GetPictureFrameCount(const char* buf, intptr_t len, uint32_t flag, int32_t* count) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    *count = picture.mode == kFramesHugeCount ? INT32_MAX
             : picture.mode >= kFrames        ? kFrameCount
                                              : 1;
    return SPI_ALL_RIGHT;
}

int32_t GetPictureFrame(const char* buf, intptr_t len, uint32_t flag, int32_t index,
                        SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback progress,
                        intptr_t lData) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    // Answers any index, so that only the host's own check keeps it within the count.
    picture.blue = static_cast<unsigned char>(picture.blue + index);
    if (picture.mode == kFramesWrongSize && index == 1) {
        ++picture.width;
    }
    picture.mode = kTrueColour;
    return makePicture(picture, pHBInfo, pHBm, progress, lData);
}

int32_t GetPictureFrameDelay(const char* buf, intptr_t len, uint32_t flag, int32_t index,
                             int32_t* delayMs) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    *delayMs = picture.mode == kFramesBadDelay && index == 1 ? -5 : index * 10;
    return SPI_ALL_RIGHT;
}
#endif

#ifndef FIXTURE_NO_PREVIEW
// The reduced picture is a single pixel.
int32_t GetPreview(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                   SpiHandle* pHBm, SpiProgressCallback progress, intptr_t lData) {
    Picture picture;
    if (!readInput(buf, len, flag, picture)) {
        return SPI_NOT_SUPPORT;
    }
    picture.width = 1;
    picture.height = 1;
    return makePicture(picture, pHBInfo, pHBm, progress, lData);
}
#endif

#ifdef FIXTURE_ARCHIVE
int32_t GetArchiveInfo(const char*, intptr_t, uint32_t, SpiHandle*) {
    return SPI_NOT_SUPPORT;
}
int32_t GetFileInfo(const char*, intptr_t, const char*, uint32_t, SpiFileInfo*) {
    return SPI_NOT_SUPPORT;
}
int32_t GetFile(const char*, intptr_t, char*, uint32_t, SpiProgressCallback, intptr_t) {
    return SPI_NOT_SUPPORT;
}
#endif
