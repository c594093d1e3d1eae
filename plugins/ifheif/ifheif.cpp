// HEIF picture plug-in over libheif: the primary picture of HEIC (HEVC) files, turned and
// cropped as the file says, brought to 8 bits, alpha kept straight in a
// 32-bit picture.
#include <libheif/heif.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include "../common/iso_file_type.h"
#include "../common/resident_library.h"
#include "../common/spi_exports.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel HEIF plug-in (libheif)",
                                                    "*.heic;*.heif", "HEIF image"};

struct HeifDeleter {
    void operator()(heif_context* context) const { heif_context_free(context); }
    void operator()(const heif_image_handle* handle) const { heif_image_handle_release(handle); }
    void operator()(const heif_image* image) const { heif_image_release(image); }
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};
template <typename T>
using HeifPointer = std::unique_ptr<T, HeifDeleter>;

int codeOf(const heif_error& error) {
    switch (error.code) {
        case heif_error_Ok:
            return SPI_ALL_RIGHT;
        case heif_error_Memory_allocation_error:
            // Also a picture over the library's limits, which is no want of memory.
            return error.subcode == heif_suberror_Security_limit_exceeded ? SPI_OUT_OF_ORDER
                                                                          : SPI_NO_MEMORY;
        case heif_error_Unsupported_filetype:
            return SPI_NOT_SUPPORT;
        default:
            return SPI_OUT_OF_ORDER;
    }
}

// The file's primary picture, its boxes read and nothing decoded yet; an SPI_ code. With
// a side limit the library refuses on its own any coded picture (a tile too) above it.
struct PrimaryPicture {
    HeifPointer<heif_context> context;
    HeifPointer<const heif_image_handle> handle;

    int open(const std::uint8_t* data, std::size_t size, int sideLimit) {
        context.reset(heif_context_alloc());
        if (context == nullptr) {
            return SPI_NO_MEMORY;
        }
        if (sideLimit > 0) {
            heif_context_set_maximum_image_size_limit(context.get(), sideLimit);
        }
        if (const int code = codeOf(
                heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr));
            code != SPI_ALL_RIGHT) {
            return code;
        }
        heif_image_handle* primary = nullptr;
        const int code = codeOf(heif_context_get_primary_image_handle(context.get(), &primary));
        handle.reset(primary);
        return code;
    }
    // The size as shown, after the file's turns and crops.
    int width() const { return heif_image_handle_get_width(handle.get()); }
    int height() const { return heif_image_handle_get_height(handle.get()); }
};

int readHeifFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    PrimaryPicture picture;
    if (const int code = picture.open(data, size, 0); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = picture.width();
    facts.height = picture.height();
    if (facts.width <= 0 || facts.height <= 0) {
        return SPI_OUT_OF_ORDER;
    }
    facts.colorDepth = heif_image_handle_has_alpha_channel(picture.handle.get()) != 0 ? 32 : 24;
    return SPI_ALL_RIGHT;
}

int decodeHeif(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    PrimaryPicture picture;
    // The library's limit also holds for the coded pictures, padded to whole coding blocks
    // of up to 64 pixels.
    if (const int code = picture.open(data, size, currentDecodeLimits().maxSide + 64);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    // The library's picture of red, green, blue, alpha costs 4 bytes a pixel.
    if (const int code = checkPictureSize(picture.width(), picture.height(), 4);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    const HeifPointer<heif_decoding_options> options(heif_decoding_options_alloc());
    if (options == nullptr) {
        return SPI_NO_MEMORY;
    }
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    const int code = codeOf(heif_decode_image(picture.handle.get(), &decoded, heif_colorspace_RGB,
                                              heif_chroma_interleaved_RGBA, options.get()));
    const HeifPointer<const heif_image> image(decoded);
    if (code != SPI_ALL_RIGHT) {
        return code;
    }
    int stride = 0;
    const std::uint8_t* rgba =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    // What came out must be the picture announced, in 8-bit samples.
    if (rgba == nullptr || width != picture.width() || height != picture.height() ||
        heif_image_get_bits_per_pixel_range(image.get(), heif_channel_interleaved) != 8 ||
        stride < width * 4) {
        return SPI_OUT_OF_ORDER;
    }
    const bool hasAlpha = heif_image_handle_has_alpha_channel(picture.handle.get()) != 0;
    if (const int allocated = dib.allocate(width, height, hasAlpha ? 32 : 24, 0);
        allocated != SPI_ALL_RIGHT) {
        return allocated;
    }
    fillFromRgba(dib, rgba, static_cast<std::size_t>(stride));
    return SPI_ALL_RIGHT;
}

// HEVC brands; the general image brands only when no AV1 brand says the file is AVIF.
// The ICC profile of the primary picture's colour box ("prof" or "rICC"); none for a
// box of colour codes.
std::vector<std::uint8_t> readHeifIccProfile(const std::uint8_t* data, std::size_t size) {
    PrimaryPicture picture;
    if (picture.open(data, size, 0) != SPI_ALL_RIGHT) {
        return {};
    }
    const heif_color_profile_type type =
        heif_image_handle_get_color_profile_type(picture.handle.get());
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC) {
        return {};
    }
    std::vector<std::uint8_t> profile(
        heif_image_handle_get_raw_color_profile_size(picture.handle.get()));
    if (profile.empty() ||
        heif_image_handle_get_raw_color_profile(picture.handle.get(), profile.data()).code !=
            heif_error_Ok) {
        return {};
    }
    return profile;
}

bool acceptsHeif(const void* header) {
    const auto names = [header](std::initializer_list<std::string_view> brands) {
        return std::any_of(brands.begin(), brands.end(), [header](std::string_view brand) {
            return fileTypeNamesBrand(header, brand);
        });
    };
    return names({"heic", "heix", "heim", "heis", "hevc", "hevx"}) ||
           (names({"mif1", "msf1"}) && !names({"avif", "avis"}));
}

// libheif keeps the decoders it registers in globals it never frees. Unloading it with the
// plug-in would drop them on every reload of the plug-ins, so the library stays resident.
__attribute__((constructor)) void keepLibheifLoaded() {
    keepLibraryResident(reinterpret_cast<const void*>(&heif_get_version));
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsHeif,
                            ravinel::spi::readHeifFacts, ravinel::spi::decodeHeif)
RAVINEL_SPI_ICC_PROFILE_EXPORT(ravinel::spi::readHeifIccProfile)
