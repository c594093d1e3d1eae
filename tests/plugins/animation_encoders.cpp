#include "tests/plugins/animation_encoders.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace ravinel::test::animation_source {
namespace {

// The frame's rectangle within the canvas.
struct Clip {
    int left, top, right, bottom;
};
Clip clipOf(const Animation& a, const Frame& f) {
    return {std::max(f.left, 0), std::max(f.top, 0), std::min(f.left + f.width, a.width),
            std::min(f.top + f.height, a.height)};
}

std::uint8_t* pixelAt(Bytes& canvas, const Animation& a, int x, int y) {
    return canvas.data() + 4 * (static_cast<std::size_t>(y) * a.width + x);
}

void paint(Bytes& canvas, const Animation& a, const Frame& f) {
    const Clip c = clipOf(a, f);
    for (int y = c.top; y < c.bottom; ++y) {
        for (int x = c.left; x < c.right; ++x) {
            std::uint8_t* p = pixelAt(canvas, a, x, y);
            const double alpha = f.bgra[3] / 255.0;
            const double below = p[3] / 255.0 * (1 - alpha);
            const double out = alpha + below;
            if (!f.blendOver || f.bgra[3] == 255 || out == 0) {
                std::copy(f.bgra.begin(), f.bgra.end(), p);
                continue;
            }
            for (int i = 0; i < 3; ++i) {
                p[i] = static_cast<std::uint8_t>(
                    std::lround((f.bgra[i] * alpha + p[i] * below) / out));
            }
            p[3] = static_cast<std::uint8_t>(std::lround(out * 255));
        }
    }
}

void appendPng(png_structp png, png_bytep data, std::size_t count) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

// A plain RGBA PNG of one frame's rectangle.
Bytes encodeRectangle(const Frame& f) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, appendPng, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(f.width), static_cast<png_uint_32>(f.height),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::array<std::uint8_t, 4> rgba = {f.bgra[2], f.bgra[1], f.bgra[0], f.bgra[3]};
    Bytes row;
    for (int x = 0; x < f.width; ++x) {
        row.insert(row.end(), rgba.begin(), rgba.end());
    }
    for (int y = 0; y < f.height; ++y) {
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The payloads of the IDAT chunks of a PNG, joined.
Bytes idatOf(const Bytes& png) {
    Bytes data;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length =
            (std::uint32_t{png[at]} << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
        if (std::string(png.begin() + at + 4, png.begin() + at + 8) == "IDAT") {
            data.insert(data.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        }
        at += 12 + length;
    }
    return data;
}

void putBe32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}
void putBe16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void putChunk(Bytes& out, const char* kind, const Bytes& payload) {
    putBe32(out, static_cast<std::uint32_t>(payload.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), kind, kind + 4);
    out.insert(out.end(), payload.begin(), payload.end());
    putBe32(out, static_cast<std::uint32_t>(
                     crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

int appendGif(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

}  // namespace

std::vector<Bytes> expectedCanvases(const Animation& a) {
    std::vector<Bytes> canvases;
    Bytes canvas(static_cast<std::size_t>(a.width) * a.height * 4, 0);
    Bytes before;
    const Frame* last = nullptr;
    for (const Frame& f : a.frames) {
        if (last != nullptr && last->dispose == Dispose::background) {
            paint(canvas, a, {last->left, last->top, last->width, last->height, {0, 0, 0, 0}});
        } else if (last != nullptr && last->dispose == Dispose::previous) {
            canvas = before;
        }
        before = canvas;
        paint(canvas, a, f);
        canvases.push_back(canvas);
        last = &f;
    }
    return canvases;
}

Bytes encodeGif(const Animation& a) {
    // Index 0 is transparent; the others are the frames' colours, up to 15 of them.
    std::vector<GifColorType> colours(16, GifColorType{0, 0, 0});
    std::vector<GifPixelType> indices;
    int used = 1;
    for (const Frame& f : a.frames) {
        const GifColorType colour{f.bgra[2], f.bgra[1], f.bgra[0]};
        int index = 1;
        while (index < used &&
               (colours[index].Red != colour.Red || colours[index].Green != colour.Green ||
                colours[index].Blue != colour.Blue)) {
            ++index;
        }
        if (index == used) {
            colours.at(static_cast<std::size_t>(used++)) = colour;
        }
        indices.push_back(f.bgra[3] == 0 ? 0 : static_cast<GifPixelType>(index));
    }
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendGif, &error);
    ColorMapObject* map = GifMakeMapObject(16, colours.data());
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(EGifPutScreenDesc(gif, a.width, a.height, 4, 0, map), GIF_OK);
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        const Frame& f = a.frames[i];
        GraphicsControlBlock control{};
        control.DisposalMode = f.dispose == Dispose::none         ? DISPOSE_DO_NOT
                               : f.dispose == Dispose::background ? DISPOSE_BACKGROUND
                                                                  : DISPOSE_PREVIOUS;
        control.DelayTime = f.delayMs / 10;
        control.TransparentColor = 0;
        GifByteType block[4];
        EGifGCBToExtension(&control, block);
        EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, block), GIF_OK);
        EXPECT_EQ(EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, false, nullptr), GIF_OK);
        std::vector<GifPixelType> line(static_cast<std::size_t>(f.width), indices[i]);
        for (int y = 0; y < f.height; ++y) {
            EXPECT_EQ(EGifPutLine(gif, line.data(), f.width), GIF_OK);
        }
    }
    EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    GifFreeMapObject(map);
    return out;
}

Bytes encodeApng(const Animation& a, bool brokenSequence) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes header;
    putBe32(header, static_cast<std::uint32_t>(a.width));
    putBe32(header, static_cast<std::uint32_t>(a.height));
    header.insert(header.end(), {8, PNG_COLOR_TYPE_RGBA, 0, 0, 0});
    putChunk(out, "IHDR", header);
    Bytes control;
    putBe32(control, static_cast<std::uint32_t>(a.frames.size()));
    putBe32(control, 0);
    putChunk(out, "acTL", control);
    std::uint32_t sequence = 0;
    for (std::size_t i = 0; i < a.frames.size(); ++i) {
        const Frame& f = a.frames[i];
        if (brokenSequence && i + 1 == a.frames.size()) {
            ++sequence;
        }
        Bytes frame;
        putBe32(frame, sequence++);
        for (const int value : {f.width, f.height, f.left, f.top}) {
            putBe32(frame, static_cast<std::uint32_t>(value));
        }
        putBe16(frame, static_cast<unsigned>(f.delayMs));
        putBe16(frame, 1000);
        frame.push_back(static_cast<std::uint8_t>(f.dispose));
        frame.push_back(f.blendOver ? 1 : 0);
        putChunk(out, "fcTL", frame);
        const Bytes data = idatOf(encodeRectangle(f));
        if (i == 0) {
            putChunk(out, "IDAT", data);
        } else {
            Bytes fdat;
            putBe32(fdat, sequence++);
            fdat.insert(fdat.end(), data.begin(), data.end());
            putChunk(out, "fdAT", fdat);
        }
    }
    putChunk(out, "IEND", {});
    return out;
}

Bytes encodeWebp(const Animation& a) {
    WebPAnimEncoderOptions options;
    EXPECT_TRUE(WebPAnimEncoderOptionsInit(&options));
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(a.width, a.height, &options);
    WebPConfig config;
    EXPECT_TRUE(WebPConfigInit(&config));
    config.lossless = 1;
    config.exact = 1;
    int timestamp = 0;
    const std::vector<Bytes> canvases = expectedCanvases(a);
    for (std::size_t i = 0; i < canvases.size(); ++i) {
        WebPPicture picture;
        EXPECT_TRUE(WebPPictureInit(&picture));
        picture.use_argb = 1;
        picture.width = a.width;
        picture.height = a.height;
        EXPECT_TRUE(WebPPictureImportBGRA(&picture, canvases[i].data(), a.width * 4));
        EXPECT_TRUE(WebPAnimEncoderAdd(encoder, &picture, timestamp, &config));
        WebPPictureFree(&picture);
        timestamp += a.frames[i].delayMs;
    }
    EXPECT_TRUE(WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr));
    WebPData data;
    WebPDataInit(&data);
    EXPECT_TRUE(WebPAnimEncoderAssemble(encoder, &data));
    Bytes out(data.bytes, data.bytes + data.size);
    WebPDataClear(&data);
    WebPAnimEncoderDelete(encoder);
    return out;
}

}  // namespace ravinel::test::animation_source
