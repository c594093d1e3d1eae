// Camera RAW picture plug-in over LibRaw: the picture developed with the camera's white
// balance into 8-bit sRGB, and as the preview the picture the camera embedded (JPEG or
// bitmap), a fast thumbnail. Both come with their rows as the sensor stores them; the
// file's orientation reaches the host, which turns them.
#include <libraw/libraw.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <memory>

// jpeglib.h needs the FILE and size_t declarations first.
#include <jpeglib.h>

#include "../common/camera_raw_signature.h"
#include "../common/resident_library.h"
#include "../common/spi_exports.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel camera RAW plug-in (LibRaw)",
                                                    kCameraRawMasks.data(), "Camera RAW image"};

// LibRaw's buffer before developing holds four 16-bit samples a pixel.
constexpr unsigned kDevelopingBytesPerPixel = 8;
// Its undeveloped samples: one 16-bit sample a pixel of a colour filter array, up to four
// for other sensors.
constexpr std::uint64_t kMaxRawBytesPerPixel = 8;
constexpr std::uint64_t kMebibyte = std::uint64_t{1} << 20;

int codeOf(int result) {
    switch (result) {
        case LIBRAW_SUCCESS:
            return SPI_ALL_RIGHT;
        case LIBRAW_FILE_UNSUPPORTED:
            return SPI_NOT_SUPPORT;
        // A picture over the memory allowed is refused as one over the host's bytes.
        case LIBRAW_UNSUFFICIENT_MEMORY:
        case LIBRAW_TOO_BIG:
            return SPI_NO_MEMORY;
        case LIBRAW_NO_THUMBNAIL:
        case LIBRAW_UNSUPPORTED_THUMBNAIL:
            return SPI_NO_FUNCTION;
        case LIBRAW_CANCELLED_BY_CALLBACK:
            return SPI_ABORT;
        default:
            return SPI_OUT_OF_ORDER;
    }
}

// LibRaw would print damaged data on stderr; the count it keeps is enough.
void ignoreDataError(void*, const char*, int) {}
void ignoreMemoryError(void*, const char*, const char*) {}

// A RAW file opened over the data: its sizes and metadata read, nothing unpacked. Any
// declared size opens unless rawMemoryBytes is given, the most its undeveloped samples
// may take.
struct RawFile {
    std::unique_ptr<LibRaw> raw;

    int open(const std::uint8_t* data, std::size_t size, std::uint64_t rawMemoryBytes) {
        raw = std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_MEMERR_CALLBACK |
                                       LIBRAW_OPIONS_NO_DATAERR_CALLBACK);
        raw->set_dataerror_handler(ignoreDataError, nullptr);
        raw->set_memerror_handler(ignoreMemoryError, nullptr);
        if (rawMemoryBytes > 0) {
            raw->imgdata.params.max_raw_memory_mb =
                static_cast<unsigned>(std::max<std::uint64_t>(1, rawMemoryBytes / kMebibyte));
        }
        // The library only reads the buffer.
        const int code = codeOf(raw->open_buffer(const_cast<std::uint8_t*>(data), size));
        if (code != SPI_ALL_RIGHT) {
            return code;
        }
        return sizes().width > 0 && sizes().height > 0 ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
    }
    const libraw_image_sizes_t& sizes() const { return raw->imgdata.sizes; }
    // Data the library had to make up for (a short or damaged file) make the file broken.
    bool damaged() const { return raw->error_count() > 0; }
};

// The sides of the developed picture, turned as stored.
int readRawFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    RawFile file;
    if (const int code = file.open(data, size, 0); code != SPI_ALL_RIGHT) {
        return code;
    }
    // Developed pictures stay as stored; the library then sizes them with the sensor's
    // pixel shape and Fujifilm's turned sensors.
    file.raw->imgdata.params.user_flip = 0;
    if (const int code = codeOf(file.raw->adjust_sizes_info_only()); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = file.sizes().width;
    facts.height = file.sizes().height;
    facts.colorDepth = 24;
    return facts.width > 0 && facts.height > 0 ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
}

// Copies red, green, blue rows (grey when colors is 1) as 24-bit rows; sizes checked.
void fillFromRgb(SpiDib& dib, const std::uint8_t* pixels, int colors) {
    const std::size_t rowBytes = static_cast<std::size_t>(dib.width()) * colors;
    for (int y = 0; y < dib.height(); ++y) {
        const std::uint8_t* source = pixels + rowBytes * static_cast<std::size_t>(y);
        std::uint8_t* target = dib.rowFromTop(y);
        for (int x = 0; x < dib.width(); ++x, source += colors, target += 3) {
            target[0] = source[colors == 3 ? 2 : 0];
            target[1] = source[colors == 3 ? 1 : 0];
            target[2] = source[0];
        }
    }
}

struct ImageDeleter {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

int decodeRaw(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    const DecodeLimits limits = currentDecodeLimits();
    RawFile file;
    if (const int code = file.open(data, size, limits.maxPixelBytes); code != SPI_ALL_RIGHT) {
        return code;
    }
    const libraw_image_sizes_t& sizes = file.sizes();
    if (const int code = checkPictureSize(sizes.width, sizes.height, kDevelopingBytesPerPixel);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    if (std::uint64_t{sizes.raw_width} * sizes.raw_height * kMaxRawBytesPerPixel >
        limits.maxPixelBytes) {
        return SPI_NO_MEMORY;
    }
    libraw_output_params_t& params = file.raw->imgdata.params;
    params.use_camera_wb = 1;
    params.output_color = 1;  // sRGB
    params.output_bps = 8;
    params.half_size = 0;
    params.user_flip = 0;
    if (const int code = codeOf(file.raw->unpack()); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (file.damaged()) {
        return SPI_OUT_OF_ORDER;
    }
    if (const int code = codeOf(file.raw->dcraw_process()); code != SPI_ALL_RIGHT) {
        return code;
    }
    int result = LIBRAW_SUCCESS;
    const std::unique_ptr<libraw_processed_image_t, ImageDeleter> image(
        file.raw->dcraw_make_mem_image(&result));
    if (image == nullptr) {
        return result == LIBRAW_SUCCESS ? SPI_NO_MEMORY : codeOf(result);
    }
    if (image->type != LIBRAW_IMAGE_BITMAP || image->bits != 8 ||
        (image->colors != 3 && image->colors != 1) ||
        std::uint64_t{image->width} * image->height * image->colors > image->data_size) {
        return SPI_OUT_OF_ORDER;
    }
    if (const int code = checkPictureSize(image->width, image->height, 3); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (const int code = dib.allocate(image->width, image->height, 24, 0); code != SPI_ALL_RIGHT) {
        return code;
    }
    fillFromRgb(dib, image->data, image->colors);
    return SPI_ALL_RIGHT;
}

// libjpeg reports an error by calling error_exit, which must not return: it jumps back
// into decodeJpeg, whose objects with destructors live outside the guarded part.
struct JpegErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}
void onJpegMessage(j_common_ptr, int) {}

struct JpegSession {
    jpeg_decompress_struct cinfo{};
    JpegErrors errors{};
    JpegSession() {
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onJpegError;
        errors.pub.emit_message = onJpegMessage;
        jpeg_create_decompress(&cinfo);
    }
    ~JpegSession() { jpeg_destroy_decompress(&cinfo); }
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;
};

// Decodes a JPEG into 24-bit rows; an SPI_ code.
int decodeJpeg(const unsigned char* jpeg, std::size_t size, SpiDib& dib) {
    JpegSession session;
    jpeg_decompress_struct& cinfo = session.cinfo;
    if (setjmp(session.errors.jump) != 0) {
        return SPI_OUT_OF_ORDER;
    }
    cinfo.mem->max_memory_to_use = static_cast<long>(currentDecodeLimits().maxPixelBytes);
    jpeg_mem_src(&cinfo, jpeg, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        return SPI_NOT_SUPPORT;
    }
    cinfo.out_color_space = JCS_EXT_BGR;
    if (const int code = checkPictureSize(cinfo.image_width, cinfo.image_height, 3);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    if (const int code = dib.allocate(static_cast<int>(cinfo.image_width),
                                      static_cast<int>(cinfo.image_height), 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    jpeg_start_decompress(&cinfo);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = dib.rowFromTop(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return SPI_ALL_RIGHT;
}

// The embedded preview, SPI_NO_FUNCTION when there is none the plug-in reads, so that the
// host develops the picture instead.
int decodeRawPreview(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    RawFile file;
    if (const int code = file.open(data, size, 0); code != SPI_ALL_RIGHT) {
        return code;
    }
    const libraw_thumbnail_t& thumbnail = file.raw->imgdata.thumbnail;
    if (thumbnail.tlength == 0) {
        return SPI_NO_FUNCTION;
    }
    // The preview's bytes are a part of the file, and its sides, when the file gives them,
    // bound what unpacking a bitmap allocates.
    if (thumbnail.tlength > size) {
        return SPI_OUT_OF_ORDER;
    }
    if (thumbnail.twidth > 0 || thumbnail.theight > 0) {
        if (const int code = checkPictureSize(thumbnail.twidth, thumbnail.theight, 3);
            code != SPI_ALL_RIGHT) {
            return code;
        }
    }
    if (const int code = codeOf(file.raw->unpack_thumb()); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (thumbnail.thumb == nullptr) {
        return SPI_NO_FUNCTION;
    }
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG) {
        return decodeJpeg(reinterpret_cast<const unsigned char*>(thumbnail.thumb),
                          thumbnail.tlength, dib);
    }
    if (thumbnail.tformat != LIBRAW_THUMBNAIL_BITMAP) {
        return SPI_NO_FUNCTION;
    }
    const int colors = thumbnail.tcolors;
    if ((colors != 3 && colors != 1) ||
        std::uint64_t{thumbnail.twidth} * thumbnail.theight * colors > thumbnail.tlength) {
        return SPI_OUT_OF_ORDER;
    }
    if (const int code = dib.allocate(thumbnail.twidth, thumbnail.theight, 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    fillFromRgb(dib, reinterpret_cast<const std::uint8_t*>(thumbnail.thumb), colors);
    return SPI_ALL_RIGHT;
}

// The library's flip as the orientation tag numbers it: bit 4 swaps rows and columns,
// then bit 2 reverses the rows and bit 1 the columns. Some files give degrees instead.
int orientationOfFlip(int flip) {
    constexpr std::array<int, 8> kTagOfFlip = {1, 2, 4, 3, 5, 8, 6, 7};
    switch ((flip % 360 + 360) % 360) {
        case 90:
            return 6;
        case 180:
            return 3;
        case 270:
            return 8;
        default:
            return kTagOfFlip[static_cast<std::size_t>(flip) & 7];
    }
}

int readRawOrientation(const std::uint8_t* data, std::size_t size) {
    RawFile file;
    return file.open(data, size, 0) == SPI_ALL_RIGHT ? orientationOfFlip(file.sizes().flip) : 1;
}

// LibRaw develops with OpenMP, whose worker threads outlive a call. Unloading the
// library under them with the plug-in would crash them, so the library stays resident.
__attribute__((constructor)) void keepLibrawLoaded() {
    keepLibraryResident(reinterpret_cast<const void*>(&libraw_version));
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::isCameraRaw,
                            ravinel::spi::readRawFacts, ravinel::spi::decodeRaw)
RAVINEL_SPI_ORIENTATION_EXPORT(ravinel::spi::readRawOrientation)
RAVINEL_SPI_PREVIEW_EXPORT(ravinel::spi::decodeRawPreview)
