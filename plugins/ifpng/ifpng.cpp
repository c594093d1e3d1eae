// PNG picture plug-in over libpng: every colour type and bit depth, interlaced or not.
// Palette pictures without transparency stay 8-bit palette; everything else becomes
// 24-bit, or 32-bit with straight alpha when the picture has alpha (or tRNS). Pictures come as
// stored; the orientation of an eXIf chunk is reported for the host to turn them, the
// profile of an iCCP chunk for it to convert their colours.
#include <png.h>
#include <spi_api.h>

#include <array>
#include <csetjmp>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_input.h"
#include "codec/exif/exif_orientation.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel PNG plug-in (libpng)", "*.png",
                                                    "PNG image"};

void readFromCursor(png_structp png, png_bytep out, std::size_t count) {
    auto* cursor = static_cast<ByteCursor*>(png_get_io_ptr(png));
    if (cursor->read(out, count) != count) {
        png_error(png, "truncated");
    }
}

// libpng's default handlers print and abort; ours return to the guarded call.
void onPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp) {}

// Runs libpng calls with its errors turned into false. The callable must not own
// objects with destructors: an error leaves it by longjmp.
template <class Calls>
bool guarded(png_structp png, Calls calls) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    calls();
    return true;
}

class PngReader {
  public:
    PngReader(const std::uint8_t* data, std::size_t size) : cursor_(data, size) {}
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }

    // Reads the chunks up to the pixel data; an SPI_ code.
    int readInfo() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
        if (png_ == nullptr) {
            return SPI_NO_MEMORY;
        }
        info_ = png_create_info_struct(png_);
        if (info_ == nullptr) {
            return SPI_NO_MEMORY;
        }
        png_set_read_fn(png_, &cursor_, readFromCursor);
        png_set_user_limits(png_, kMaxSide, kMaxSide);
        return guarded(png_, [this] { png_read_info(png_, info_); }) ? SPI_ALL_RIGHT
                                                                     : SPI_OUT_OF_ORDER;
    }

    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

  private:
    ByteCursor cursor_;
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

int readPngFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    PngReader reader(data, size);
    if (const int code = reader.readInfo(); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = static_cast<int>(png_get_image_width(reader.png(), reader.info()));
    facts.height = static_cast<int>(png_get_image_height(reader.png(), reader.info()));
    facts.colorDepth = png_get_bit_depth(reader.png(), reader.info()) *
                       png_get_channels(reader.png(), reader.info());
    return SPI_ALL_RIGHT;
}

// Sets up the 8-bit palette output and gives its size; an SPI_ code.
int preparePalette(const PngReader& reader, SpiDib& dib, int width, int height, int& count) {
    png_colorp colours = nullptr;
    if (png_get_PLTE(reader.png(), reader.info(), &colours, &count) == 0 || count <= 0) {
        return SPI_OUT_OF_ORDER;
    }
    if (const int code = dib.allocate(width, height, 8, count); code != SPI_ALL_RIGHT) {
        return code;
    }
    for (int i = 0; i < count; ++i) {
        dib.palette()[i] = {colours[i].blue, colours[i].green, colours[i].red, 0};
    }
    png_set_packing(reader.png());
    return SPI_ALL_RIGHT;
}

// A broken file may use indices past its palette; they show the first colour.
void clampIndices(SpiDib& dib, int count) {
    for (int y = 0; y < dib.height(); ++y) {
        std::uint8_t* row = dib.rowFromTop(y);
        for (int x = 0; x < dib.width(); ++x) {
            if (row[x] >= count) {
                row[x] = 0;
            }
        }
    }
}

int decodePng(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    PngReader reader(data, size);
    if (const int code = reader.readInfo(); code != SPI_ALL_RIGHT) {
        return code;
    }
    png_structp png = reader.png();
    png_infop info = reader.info();
    const int width = static_cast<int>(png_get_image_width(png, info));
    const int height = static_cast<int>(png_get_image_height(png, info));
    if (const int code = checkPictureSize(width, height, 4); code != SPI_ALL_RIGHT) {
        return code;
    }
    const bool keepPalette = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE &&
                             png_get_valid(png, info, PNG_INFO_tRNS) == 0;
    int paletteCount = 0;
    if (keepPalette) {
        if (const int code = preparePalette(reader, dib, width, height, paletteCount);
            code != SPI_ALL_RIGHT) {
            return code;
        }
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
    }
    if (!guarded(png, [png, info] {
            png_set_interlace_handling(png);
            png_read_update_info(png, info);
        })) {
        return SPI_OUT_OF_ORDER;
    }
    // Rows with alpha keep it: the host composites them onto the viewer's background.
    const int bitCount = png_get_channels(png, info) == 4 ? 32 : 24;
    if (!keepPalette) {
        if (const int code = dib.allocate(width, height, bitCount, 0); code != SPI_ALL_RIGHT) {
            return code;
        }
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<std::size_t>(y)] = dib.rowFromTop(y);
    }
    if (!guarded(png, [png, &rows] { png_read_image(png, rows.data()); })) {
        return SPI_OUT_OF_ORDER;
    }
    if (keepPalette) {
        clampIndices(dib, paletteCount);
    }
    return SPI_ALL_RIGHT;
}

// The eXIf chunk before the pixel data, where PNG places it.
int readPngOrientation(const std::uint8_t* data, std::size_t size) {
    PngReader reader(data, size);
    png_uint_32 length = 0;
    png_bytep exif = nullptr;
    if (reader.readInfo() != SPI_ALL_RIGHT ||
        png_get_eXIf_1(reader.png(), reader.info(), &length, &exif) == 0 || exif == nullptr) {
        return 1;
    }
    return exifOrientation({exif, length});
}

// The iCCP chunk before the pixel data; libpng inflates it within its own memory limit and
// drops one whose profile header does not hold together.
std::vector<std::uint8_t> readPngIccProfile(const std::uint8_t* data, std::size_t size) {
    PngReader reader(data, size);
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 length = 0;
    if (reader.readInfo() != SPI_ALL_RIGHT ||
        png_get_iCCP(reader.png(), reader.info(), &name, &compression, &profile, &length) == 0 ||
        profile == nullptr) {
        return {};
    }
    return {profile, profile + length};
}

bool acceptsPng(const void* header) {
    return headerStartsWith(header, {"\x89PNG\r\n\x1a\n", 8});
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsPng,
                            ravinel::spi::readPngFacts, ravinel::spi::decodePng)
RAVINEL_SPI_ORIENTATION_EXPORT(ravinel::spi::readPngOrientation)
RAVINEL_SPI_ICC_PROFILE_EXPORT(ravinel::spi::readPngIccProfile)
