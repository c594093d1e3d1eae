// AVIF picture plug-in over libavif: the primary picture (the first frame of a sequence),
// any bit depth brought to 8 bits, alpha kept straight in a 32-bit picture. Pictures come
// as stored; the container's rotation and mirroring reach the host as an orientation, which
// turns them.
#include <avif/avif.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <memory>
#include <thread>
#include <vector>

#include "../common/iso_file_type.h"
#include "../common/spi_exports.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel AVIF plug-in (libavif)",
                                                    "*.avif", "AVIF image"};

struct DecoderDeleter {
    void operator()(avifDecoder* decoder) const { avifDecoderDestroy(decoder); }
};
using DecoderPointer = std::unique_ptr<avifDecoder, DecoderDeleter>;

int codeOf(avifResult result) {
    switch (result) {
        case AVIF_RESULT_OK:
            return SPI_ALL_RIGHT;
        case AVIF_RESULT_OUT_OF_MEMORY:
            return SPI_NO_MEMORY;
        case AVIF_RESULT_INVALID_FTYP:
            return SPI_NOT_SUPPORT;
        default:
            return SPI_OUT_OF_ORDER;
    }
}

// A decoder over the data with the container parsed, so that the picture's size is known
// and nothing is decoded yet; an SPI_ code. Any side is read, but the library parses
// nothing over its own most of pixels (16384 x 16384).
int parse(const std::uint8_t* data, std::size_t size, DecoderPointer& decoder) {
    decoder.reset(avifDecoderCreate());
    if (decoder == nullptr) {
        return SPI_NO_MEMORY;
    }
    decoder->imageDimensionLimit = 0;
    decoder->ignoreExif = AVIF_TRUE;
    decoder->ignoreXMP = AVIF_TRUE;
    decoder->maxThreads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    if (const int code = codeOf(avifDecoderSetIOMemory(decoder.get(), data, size));
        code != SPI_ALL_RIGHT) {
        return code;
    }
    return codeOf(avifDecoderParse(decoder.get()));
}

// The declared size, also of a picture the host will refuse, so that it can say why.
int readAvifFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    DecoderPointer decoder;
    if (const int code = parse(data, size, decoder); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = static_cast<int>(decoder->image->width);
    facts.height = static_cast<int>(decoder->image->height);
    facts.colorDepth = decoder->alphaPresent ? 32 : 24;
    return SPI_ALL_RIGHT;
}

int decodeAvif(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    DecoderPointer decoder;
    if (const int code = parse(data, size, decoder); code != SPI_ALL_RIGHT) {
        return code;
    }
    // Our blue, green, red, alpha copy costs 4 bytes a pixel.
    if (const int code = checkPictureSize(decoder->image->width, decoder->image->height, 4);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    // The AV1 stream may declare another size than the container: the library refuses on
    // its own a frame over the same limits.
    const DecodeLimits limits = currentDecodeLimits();
    decoder->imageSizeLimit = static_cast<std::uint32_t>(
        std::clamp<std::uint64_t>(limits.maxPixelBytes / 4, 1, AVIF_DEFAULT_IMAGE_SIZE_LIMIT));
    decoder->imageDimensionLimit = static_cast<std::uint32_t>(limits.maxSide);
    if (const int code = codeOf(avifDecoderReset(decoder.get())); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (const int code = codeOf(avifDecoderNextImage(decoder.get())); code != SPI_ALL_RIGHT) {
        return code;
    }
    const avifImage* image = decoder->image;
    // The frame decoded is sized by its AV1 stream: checked again before any pixel of ours.
    if (const int code = checkPictureSize(image->width, image->height, 4); code != SPI_ALL_RIGHT) {
        return code;
    }
    const auto width = static_cast<int>(image->width);
    const auto height = static_cast<int>(image->height);
    // Alpha is kept, straight, for the host to composite.
    const bool hasAlpha = image->alphaPlane != nullptr;
    if (const int code = dib.allocate(width, height, hasAlpha ? 32 : 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * 4 *
                                   static_cast<std::size_t>(height));
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image);
    rgb.format = AVIF_RGB_FORMAT_BGRA;
    rgb.depth = 8;
    rgb.pixels = bgra.data();
    rgb.rowBytes = image->width * 4;
    if (const int code = codeOf(avifImageYUVToRGB(image, &rgb)); code != SPI_ALL_RIGHT) {
        return code;
    }
    fillFromBgra(dib, bgra.data());
    return SPI_ALL_RIGHT;
}

// The irot (anticlockwise quarter turns) and then imir (0: top and bottom exchanged, 1: left
// and right) of the container, as the orientation tag that turns the stored picture so.
int orientationOf(const avifImage& image) {
    constexpr int kByTurnsThenMirror[4][3] = {
        // none, top-bottom, left-right
        {1, 4, 2},
        {8, 5, 7},
        {3, 2, 4},
        {6, 7, 5},
    };
    const int turns = (image.transformFlags & AVIF_TRANSFORM_IROT) != 0 ? image.irot.angle & 3 : 0;
    const int mirror =
        (image.transformFlags & AVIF_TRANSFORM_IMIR) != 0 ? 1 + (image.imir.mode & 1) : 0;
    return kByTurnsThenMirror[turns][mirror];
}

int readAvifOrientation(const std::uint8_t* data, std::size_t size) {
    DecoderPointer decoder;
    return parse(data, size, decoder) == SPI_ALL_RIGHT ? orientationOf(*decoder->image) : 1;
}

// The ICC profile of the colour box, read with the other boxes.
std::vector<std::uint8_t> readAvifIccProfile(const std::uint8_t* data, std::size_t size) {
    DecoderPointer decoder;
    if (parse(data, size, decoder) != SPI_ALL_RIGHT || decoder->image->icc.size == 0) {
        return {};
    }
    const avifRWData& icc = decoder->image->icc;
    return {icc.data, icc.data + icc.size};
}

// A still picture or a sequence coded with AV1.
bool acceptsAvif(const void* header) {
    return fileTypeNamesBrand(header, "avif") || fileTypeNamesBrand(header, "avis");
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsAvif,
                            ravinel::spi::readAvifFacts, ravinel::spi::decodeAvif)
RAVINEL_SPI_ORIENTATION_EXPORT(ravinel::spi::readAvifOrientation)
RAVINEL_SPI_ICC_PROFILE_EXPORT(ravinel::spi::readAvifIccProfile)
