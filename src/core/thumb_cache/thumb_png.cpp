#include "thumb_cache/thumb_png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "thumb_cache/thumb_cache_error.h"

namespace ravinel {

namespace {

void onPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onPngWarning(png_structp, png_const_charp) {}

struct ByteSource {
    std::span<const uint8_t> bytes;
    size_t position = 0;
};

void readFromSource(png_structp png, png_bytep out, size_t count) {
    auto* source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (count > source->bytes.size() - source->position) {
        png_error(png, "truncated");
    }
    std::memcpy(out, source->bytes.data() + source->position, count);
    source->position += count;
}

void appendToVector(png_structp png, png_bytep data, size_t count) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}
void flushNothing(png_structp) {}

// libpng leaves by longjmp on an error: the frames it crosses own nothing with a
// destructor, so the rows and text are gathered in plain buffers set up beforehand.
bool readPng(png_structp png, png_infop info, png_infop endInfo, int maxSide,
             std::vector<uint8_t>& pixels, std::vector<png_bytep>& rows, png_uint_32& width,
             png_uint_32& height) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
    png_read_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_color_16 white{0, 255, 255, 255, 255};
    png_set_background(png, &white, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3) {
        return false;
    }
    if (pixels.size() < static_cast<size_t>(width) * height * 3) {
        return false;
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        rows[y] = pixels.data() + static_cast<size_t>(y) * width * 3;
    }
    png_read_image(png, rows.data());
    png_read_end(png, endInfo);
    return true;
}

void collectText(png_structp png, png_infop info, std::map<std::string, std::string>& text) {
    png_textp entries = nullptr;
    int count = 0;
    png_get_text(png, info, &entries, &count);
    for (int i = 0; i < count; ++i) {
        if (entries[i].key != nullptr && entries[i].text != nullptr) {
            text.emplace(entries[i].key, std::string(entries[i].text, entries[i].text_length));
        }
    }
}

}  // namespace

std::optional<ThumbPng> decodeThumbPng(std::span<const uint8_t> bytes, int maxSide) {
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0) {
        return std::nullopt;
    }
    png_structp png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    png_infop endInfo = png ? png_create_info_struct(png) : nullptr;
    ByteSource source{bytes};
    if (png != nullptr) {
        png_set_read_fn(png, &source, readFromSource);
    }
    // The buffers for the largest picture allowed, so that no allocation happens between
    // setjmp and the end of the reading.
    const auto side = static_cast<size_t>(maxSide);
    std::vector<uint8_t> pixels(side * side * 3);
    std::vector<png_bytep> rows(side);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    std::optional<ThumbPng> result;
    if (info != nullptr && endInfo != nullptr &&
        readPng(png, info, endInfo, maxSide, pixels, rows, width, height)) {
        ThumbPng thumb;
        thumb.picture.setBitCount(24);
        thumb.picture.setWidth(static_cast<int32_t>(width));
        thumb.picture.setHeight(static_cast<int32_t>(height));
        for (png_uint_32 y = 0; y < height; ++y) {
            std::memcpy(thumb.picture.scanLine(static_cast<int>(y)), rows[y],
                        static_cast<size_t>(width) * 3);
        }
        collectText(png, info, thumb.text);
        collectText(png, endInfo, thumb.text);
        result = std::move(thumb);
    }
    png_destroy_read_struct(&png, &info, &endInfo);
    return result;
}

namespace {

bool writePng(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
              std::vector<png_text>& text, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_text(png, info, text.data(), static_cast<int>(text.size()));
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    png_set_bgr(png);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

}  // namespace

std::vector<uint8_t> encodeThumbPng(const NkDib& picture,
                                    const std::vector<std::pair<std::string, std::string>>& text) {
    NkDib rgb = picture;
    rgb.setPixelFormat(NkDibPixelFormat::pf24Bit);
    const auto height = static_cast<size_t>(rgb.height());
    std::vector<png_bytep> rows(height);
    for (size_t y = 0; y < height; ++y) {
        rows[y] = const_cast<png_bytep>(rgb.constScanLine(static_cast<int>(y)));
    }
    std::vector<png_text> entries(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        entries[i].compression = PNG_TEXT_COMPRESSION_NONE;
        entries[i].key = const_cast<png_charp>(text[i].first.c_str());
        entries[i].text = const_cast<png_charp>(text[i].second.c_str());
        entries[i].text_length = text[i].second.size();
    }
    std::vector<uint8_t> out;
    out.reserve(height * static_cast<size_t>(rgb.width()) * 3 / 2 + 1024);
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool written = false;
    if (info != nullptr) {
        png_set_write_fn(png, &out, appendToVector, flushNothing);
        written = writePng(png, info, static_cast<png_uint_32>(rgb.width()),
                           static_cast<png_uint_32>(height), entries, rows);
    }
    png_destroy_write_struct(&png, &info);
    if (!written) {
        throw ThumbCacheError("cannot encode the thumbnail as PNG");
    }
    return out;
}

}  // namespace ravinel
