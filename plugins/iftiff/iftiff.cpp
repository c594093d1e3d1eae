// TIFF picture plug-in over libtiff: the first page through the library's RGBA reader
// (every photometric it handles), and the embedded reduced image as the preview. Both
// come with their rows as the first page stores them; its orientation tag is reported for
// the host to turn them, its ICC profile tag for the host to convert their colours.
#include <spi_api.h>
#include <tiffio.h>

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <vector>

#include "../common/camera_raw_signature.h"
#include "../common/spi_exports.h"
#include "../common/spi_input.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel TIFF plug-in (libtiff)",
                                                    "*.tif;*.tiff", "TIFF image"};

// Directories looked at for a reduced image; a file with more is not searched further.
constexpr int kMaxDirectories = 64;

tmsize_t readProc(thandle_t handle, void* out, tmsize_t count) {
    return count <= 0 ? 0
                      : static_cast<tmsize_t>(static_cast<ByteCursor*>(handle)->read(
                            out, static_cast<std::size_t>(count)));
}

tmsize_t writeProc(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
    auto* cursor = static_cast<ByteCursor*>(handle);
    toff_t target = offset;
    if (whence == SEEK_CUR) {
        target += cursor->position();
    } else if (whence == SEEK_END) {
        target += cursor->size();
    }
    return cursor->seek(target) ? target : static_cast<toff_t>(-1);
}

int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t handle) {
    return static_cast<ByteCursor*>(handle)->size();
}
int mapProc(thandle_t, void**, toff_t*) {
    return 0;
}
void unmapProc(thandle_t, void*, toff_t) {}

// The library's messages would go to stderr; a plug-in stays silent.
int quietHandler(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
struct OptionsFreer {
    void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
};

class TiffReader {
  public:
    TiffReader(const std::uint8_t* data, std::size_t size) : cursor_(data, size) {}

    // Reads the first directory; an SPI_ code.
    int open() {
        const std::unique_ptr<TIFFOpenOptions, OptionsFreer> options(TIFFOpenOptionsAlloc());
        if (!options) {
            return SPI_NO_MEMORY;
        }
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), quietHandler, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(options.get(), quietHandler, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(),
                                            static_cast<tmsize_t>(kMaxLibraryBlockBytes));
        tiff_.reset(TIFFClientOpenExt("memory", "rm", &cursor_, readProc, writeProc, seekProc,
                                      closeProc, sizeProc, mapProc, unmapProc, options.get()));
        return tiff_ ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
    }

    TIFF* tiff() const { return tiff_.get(); }

  private:
    ByteCursor cursor_;
    std::unique_ptr<TIFF, TiffCloser> tiff_;
};

bool readSize(TIFF* tiff, std::uint32_t& width, std::uint32_t& height) {
    return TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) == 1 &&
           TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) == 1;
}

int readTiffFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    TiffReader reader(data, size);
    if (const int code = reader.open(); code != SPI_ALL_RIGHT) {
        return code;
    }
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!readSize(reader.tiff(), width, height)) {
        return SPI_OUT_OF_ORDER;
    }
    std::uint16_t bitsPerSample = 1;
    std::uint16_t samplesPerPixel = 1;
    TIFFGetFieldDefaulted(reader.tiff(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(reader.tiff(), TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    facts.width = static_cast<int>(width);
    facts.height = static_cast<int>(height);
    facts.colorDepth = bitsPerSample * samplesPerPixel;
    return SPI_ALL_RIGHT;
}

// The RGBA reader premultiplies alpha; the host wants it straight.
std::uint8_t unpremultiplied(std::uint32_t channel, std::uint32_t alpha) {
    if (alpha == 0) {
        return 0;
    }
    const std::uint32_t value = (channel * 255 + alpha / 2) / alpha;
    return static_cast<std::uint8_t>(value > 255 ? 255 : value);
}

// The orientation tag of the current directory; 1 when it is missing or out of range.
int orientationOf(TIFF* tiff) {
    std::uint16_t value = ORIENTATION_TOPLEFT;
    if (TIFFGetField(tiff, TIFFTAG_ORIENTATION, &value) != 1 || value < ORIENTATION_TOPLEFT ||
        value > ORIENTATION_LEFTBOT) {
        return ORIENTATION_TOPLEFT;
    }
    return value;
}

// Decodes the current directory into a 24-bit picture, or a 32-bit one with straight alpha, with
// its rows as a directory of the orientation given stores them (the RGBA reader mirrors only
// between orientations that differ); an SPI_ code.
int readCurrentDirectory(TIFF* tiff, int orientation, SpiDib& dib) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!readSize(tiff, width, height)) {
        return SPI_OUT_OF_ORDER;
    }
    if (const int code = checkPictureSize(width, height, 4); code != SPI_ALL_RIGHT) {
        return code;
    }
    std::array<char, 1024> message{};
    if (TIFFRGBAImageOK(tiff, message.data()) != 1) {
        return SPI_NOT_SUPPORT;
    }
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    if (TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), orientation, 1) != 1) {
        return SPI_OUT_OF_ORDER;
    }
    // A picture whose every pixel is opaque stays 24-bit, whatever its samples say.
    const bool hasAlpha = std::any_of(raster.begin(), raster.end(),
                                      [](std::uint32_t pixel) { return TIFFGetA(pixel) != 255; });
    const int step = hasAlpha ? 4 : 3;
    if (const int code =
            dib.allocate(static_cast<int>(width), static_cast<int>(height), step * 8, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    for (int y = 0; y < dib.height(); ++y) {
        const std::uint32_t* source = raster.data() + static_cast<std::size_t>(width) * y;
        std::uint8_t* target = dib.rowFromTop(y);
        for (std::uint32_t x = 0; x < width; ++x, target += step) {
            const std::uint32_t pixel = source[x];
            const std::uint32_t alpha = TIFFGetA(pixel);
            target[0] = unpremultiplied(TIFFGetB(pixel), alpha);
            target[1] = unpremultiplied(TIFFGetG(pixel), alpha);
            target[2] = unpremultiplied(TIFFGetR(pixel), alpha);
            if (hasAlpha) {
                target[3] = static_cast<std::uint8_t>(alpha);
            }
        }
    }
    return SPI_ALL_RIGHT;
}

int decodeTiff(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    TiffReader reader(data, size);
    if (const int code = reader.open(); code != SPI_ALL_RIGHT) {
        return code;
    }
    return readCurrentDirectory(reader.tiff(), orientationOf(reader.tiff()), dib);
}

int readTiffOrientation(const std::uint8_t* data, std::size_t size) {
    TiffReader reader(data, size);
    return reader.open() == SPI_ALL_RIGHT ? orientationOf(reader.tiff()) : ORIENTATION_TOPLEFT;
}

// The ICC profile tag of the first page; libtiff bounds the tag by its allocation limit.
std::vector<std::uint8_t> readTiffIccProfile(const std::uint8_t* data, std::size_t size) {
    TiffReader reader(data, size);
    std::uint32_t length = 0;
    const std::uint8_t* profile = nullptr;
    if (reader.open() != SPI_ALL_RIGHT ||
        TIFFGetField(reader.tiff(), TIFFTAG_ICCPROFILE, &length, &profile) != 1 ||
        profile == nullptr) {
        return {};
    }
    return {profile, profile + length};
}

// Makes the first reduced image current: the first SubIFD of the first page, else the
// first later directory marked as a reduced image.
bool selectReducedImage(TIFF* tiff) {
    std::uint16_t count = 0;
    toff_t* offsets = nullptr;
    if (TIFFGetField(tiff, TIFFTAG_SUBIFD, &count, &offsets) == 1 && count > 0) {
        const toff_t first = offsets[0];
        return TIFFSetSubDirectory(tiff, first) == 1;
    }
    for (int i = 0; i < kMaxDirectories && TIFFReadDirectory(tiff) == 1; ++i) {
        std::uint32_t type = 0;
        if (TIFFGetField(tiff, TIFFTAG_SUBFILETYPE, &type) == 1 &&
            (type & FILETYPE_REDUCEDIMAGE) != 0) {
            return true;
        }
    }
    return false;
}

// The reduced image; SPI_NO_FUNCTION when the file holds none.
int decodeTiffPreview(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    TiffReader reader(data, size);
    if (const int code = reader.open(); code != SPI_ALL_RIGHT) {
        return code;
    }
    const int orientation = orientationOf(reader.tiff());
    if (!selectReducedImage(reader.tiff())) {
        return SPI_NO_FUNCTION;
    }
    return readCurrentDirectory(reader.tiff(), orientation, dib);
}

// Classic TIFF and BigTIFF, either byte order, but not camera RAW files: their first
// directory is a small preview, not the picture.
bool acceptsTiff(const char* fileName, const void* header) {
    return (isTiffHeader(header) || headerStartsWith(header, {"II+\0", 4}) ||
            headerStartsWith(header, {"MM\0+", 4})) &&
           !isCameraRaw(fileName, header);
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsTiff,
                            ravinel::spi::readTiffFacts, ravinel::spi::decodeTiff)
RAVINEL_SPI_ORIENTATION_EXPORT(ravinel::spi::readTiffOrientation)
RAVINEL_SPI_ICC_PROFILE_EXPORT(ravinel::spi::readTiffIccProfile)
RAVINEL_SPI_PREVIEW_EXPORT(ravinel::spi::decodeTiffPreview)
