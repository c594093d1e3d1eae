#include "tests/plugins/picture_encoders.h"

#include <gtest/gtest.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <csetjmp>
#include <fstream>
#include <iterator>
#include <utility>

namespace ravinel::test {

namespace png_source {

void PrintTo(const PngCase& c, std::ostream* out) {
    *out << c.name;
}

int channelsOf(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            return 2;
        case PNG_COLOR_TYPE_RGB:
            return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA:
            return 4;
        default:
            return 1;
    }
}

unsigned sampleAt(int x, int y, int channel, unsigned maximum) {
    const std::uint32_t mixed =
        static_cast<std::uint32_t>(x * 7 + y * 131 + channel * 29 + 1) * 2654435761u;
    return (mixed >> 9) % (maximum + 1);
}

png_color paletteColour(unsigned i) {
    return {static_cast<png_byte>(i * 37), static_cast<png_byte>(i * 91 + 5),
            static_cast<png_byte>(i * 53 + 11)};
}
png_byte paletteAlpha(unsigned i) {
    return static_cast<png_byte>(i * 67 + 3);
}

namespace {

void appendToBytes(png_structp png, png_bytep data, std::size_t count) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + count);
}

}  // namespace

Bytes encodePng(const PngCase& c, const Bytes& exif, const Bytes& iccProfile) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "encoding failed";
        return {};
    }
    png_set_write_fn(png, &out, appendToBytes, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, c.bitDepth, c.colorType,
                 c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const unsigned entries = 1u << c.bitDepth;
    std::vector<png_color> palette;
    std::vector<png_byte> alphas;
    if (c.colorType == PNG_COLOR_TYPE_PALETTE) {
        for (unsigned i = 0; i < entries; ++i) {
            palette.push_back(paletteColour(i));
            alphas.push_back(paletteAlpha(i));
        }
        png_set_PLTE(png, info, palette.data(), static_cast<int>(entries));
        if (c.transparentPalette) {
            png_set_tRNS(png, info, alphas.data(), static_cast<int>(entries), nullptr);
        }
    }
    if (!exif.empty()) {
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(exif.size()),
                       const_cast<png_bytep>(exif.data()));
    }
    if (!iccProfile.empty()) {
        png_set_iCCP(png, info, "test", PNG_COMPRESSION_TYPE_BASE, iccProfile.data(),
                     static_cast<png_uint_32>(iccProfile.size()));
    }
    png_write_info(png, info);
    const int channels = channelsOf(c.colorType);
    const unsigned maximum = (1u << c.bitDepth) - 1;
    const std::size_t rowBytes = (static_cast<std::size_t>(kWidth) * channels * c.bitDepth + 7) / 8;
    std::vector<Bytes> rows(kHeight, Bytes(rowBytes, 0));
    std::vector<png_bytep> pointers;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (int ch = 0; ch < channels; ++ch) {
                const unsigned v = sampleAt(x, y, ch, maximum);
                const std::size_t bit = static_cast<std::size_t>(x * channels + ch) * c.bitDepth;
                if (c.bitDepth == 16) {
                    rows[y][bit / 8] = static_cast<png_byte>(v >> 8);
                    rows[y][bit / 8 + 1] = static_cast<png_byte>(v);
                } else {
                    rows[y][bit / 8] |= static_cast<png_byte>(v << (8 - c.bitDepth - bit % 8));
                }
            }
        }
        pointers.push_back(rows[y].data());
    }
    png_write_image(png, pointers.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace png_source

namespace gif_source {

int indexAt(const GifFrame& frame, int x, int y) {
    return (x * 3 + y * 5 + frame.indexShift) % kColours;
}

GifColorType colourOf(int i) {
    return {static_cast<GifByteType>(i * 16), static_cast<GifByteType>(255 - i * 9),
            static_cast<GifByteType>(i * 5 + 40)};
}

namespace {

int appendToBytes(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

}  // namespace

Bytes encodeGif(const std::vector<GifFrame>& frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, appendToBytes, &error);
    std::vector<GifColorType> colours;
    for (int i = 0; i < kColours; ++i) {
        colours.push_back(colourOf(i));
    }
    ColorMapObject* map = GifMakeMapObject(kColours, colours.data());
    EGifSetGifVersion(gif, true);
    EXPECT_EQ(EGifPutScreenDesc(gif, kScreenWidth, kScreenHeight, 4, 0, map), GIF_OK);
    for (const GifFrame& frame : frames) {
        if (frame.transparentIndex != NO_TRANSPARENT_COLOR) {
            const GifByteType control[4] = {1, 0, 0,
                                            static_cast<GifByteType>(frame.transparentIndex)};
            EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control), GIF_OK);
        }
        EXPECT_EQ(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height,
                                   frame.interlaced, nullptr),
                  GIF_OK);
        std::vector<int> order;
        if (frame.interlaced) {
            for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}}) {
                for (int y = start; y < frame.height; y += step) {
                    order.push_back(y);
                }
            }
        } else {
            for (int y = 0; y < frame.height; ++y) {
                order.push_back(y);
            }
        }
        for (const int y : order) {
            std::vector<GifPixelType> line;
            for (int x = 0; x < frame.width; ++x) {
                line.push_back(static_cast<GifPixelType>(indexAt(frame, x, y)));
            }
            EXPECT_EQ(EGifPutLine(gif, line.data(), frame.width), GIF_OK);
        }
    }
    EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
    GifFreeMapObject(map);
    return out;
}

}  // namespace gif_source

namespace tiff_source {

std::uint8_t sampleAt(const TiffPage& page, int x, int y, int channel) {
    return static_cast<std::uint8_t>(x * 11 + y * 17 + channel * 71 + page.shift);
}

std::array<std::uint8_t, 3> paletteColour(int i) {
    return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
            static_cast<std::uint8_t>(i * 3)};
}

namespace {

void writePixels(TIFF* tiff, const TiffPage& page) {
    const auto pixel = [&](Bytes& into, std::size_t at, int x, int y) {
        for (int c = 0; c < page.samples; ++c) {
            into[at + static_cast<std::size_t>(c)] = sampleAt(page, x, y, c);
        }
    };
    if (!page.tiled) {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 5);
        Bytes row(static_cast<std::size_t>(page.width * page.samples));
        for (int y = 0; y < page.height; ++y) {
            for (int x = 0; x < page.width; ++x) {
                pixel(row, static_cast<std::size_t>(x * page.samples), x, y);
            }
            ASSERT_EQ(TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0), 1);
        }
        return;
    }
    constexpr int kTile = 16;
    TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
    TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
    for (int ty = 0; ty < page.height; ty += kTile) {
        for (int tx = 0; tx < page.width; tx += kTile) {
            Bytes tile(static_cast<std::size_t>(TIFFTileSize(tiff)), 0);
            for (int y = ty; y < std::min(ty + kTile, page.height); ++y) {
                for (int x = tx; x < std::min(tx + kTile, page.width); ++x) {
                    pixel(tile,
                          static_cast<std::size_t>(((y - ty) * kTile + x - tx) * page.samples), x,
                          y);
                }
            }
            ASSERT_GE(TIFFWriteTile(tiff, tile.data(), static_cast<std::uint32_t>(tx),
                                    static_cast<std::uint32_t>(ty), 0, 0),
                      0);
        }
    }
}

void writePage(TIFF* tiff, const TiffPage& page) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, page.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, page.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, page.samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, page.photometric);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    if (page.samples == 4) {
        const std::uint16_t extra[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (page.reduced) {
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    }
    if (page.orientation != 0) {
        TIFFSetField(tiff, TIFFTAG_ORIENTATION, page.orientation);
    }
    if (page.photometric == PHOTOMETRIC_PALETTE) {
        std::array<std::array<std::uint16_t, 256>, 3> map{};
        for (int i = 0; i < 256; ++i) {
            for (int c = 0; c < 3; ++c) {
                map[c][i] = static_cast<std::uint16_t>(paletteColour(i)[c] * 257);
            }
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map[0].data(), map[1].data(), map[2].data());
    }
    writePixels(tiff, page);
}

}  // namespace

Bytes encodeTiff(const std::vector<TiffPage>& pages, bool previewAsSubIfd,
                 const Bytes& iccProfile) {
    TIFFSetWarningHandler(nullptr);
    const TemporaryFile file("encoded.tif", {});
    TIFF* tiff = TIFFOpen(file.path().c_str(), "w");
    EXPECT_NE(tiff, nullptr);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i == 0 && previewAsSubIfd) {
            toff_t offsets[1] = {0};
            TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, offsets);
        }
        if (i == 0 && !iccProfile.empty()) {
            TIFFSetField(tiff, TIFFTAG_ICCPROFILE, static_cast<std::uint32_t>(iccProfile.size()),
                         iccProfile.data());
        }
        writePage(tiff, pages[i]);
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
    std::ifstream in(file.path(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tiff_source

namespace webp_source {

std::uint8_t sampleAt(int x, int y, int channel) {
    switch (channel) {
        case 0:
            return static_cast<std::uint8_t>(x * 6);
        case 1:
            return static_cast<std::uint8_t>(y * 9);
        case 2:
            return static_cast<std::uint8_t>((x + y) * 3);
        default:
            return static_cast<std::uint8_t>(x * 255 / (kWidth - 1));
    }
}

namespace {

// Blue, green, red (and alpha) rows, top row first.
Bytes pixels(int channels) {
    Bytes out;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            for (int c = 0; c < channels; ++c) {
                out.push_back(sampleAt(x, y, c));
            }
        }
    }
    return out;
}

}  // namespace

Bytes encodeWebp(Encoder encoder, int channels) {
    std::uint8_t* output = nullptr;
    const std::size_t size = encoder(pixels(channels), &output);
    Bytes out(output, output + size);
    WebPFree(output);
    return out;
}

Bytes withExif(const Bytes& webp, const Bytes& exif) {
    return withChunk(webp, "EXIF", exif);
}

Bytes withChunk(const Bytes& webp, const char* fourcc, const Bytes& payload) {
    const WebPData bitstream{webp.data(), webp.size()};
    WebPMux* mux = WebPMuxCreate(&bitstream, 1);
    const WebPData chunk{payload.data(), payload.size()};
    WebPData assembled{};
    EXPECT_EQ(WebPMuxSetChunk(mux, fourcc, &chunk, 1), WEBP_MUX_OK);
    EXPECT_EQ(WebPMuxAssemble(mux, &assembled), WEBP_MUX_OK);
    Bytes out(assembled.bytes, assembled.bytes + assembled.size);
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return out;
}

Bytes encodePng(int channels) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kWidth;
    image.height = kHeight;
    image.format = channels == 4 ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    const Bytes source = pixels(channels);
    png_alloc_size_t size = 0;
    EXPECT_NE(png_image_write_to_memory(&image, nullptr, &size, 0, source.data(), 0, nullptr), 0);
    Bytes out(size);
    EXPECT_NE(png_image_write_to_memory(&image, out.data(), &size, 0, source.data(), 0, nullptr),
              0);
    out.resize(size);
    return out;
}

std::size_t losslessBgr(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeLosslessBGR(s.data(), kWidth, kHeight, kWidth * 3, out);
}
std::size_t losslessBgra(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeLosslessBGRA(s.data(), kWidth, kHeight, kWidth * 4, out);
}
std::size_t lossyBgr(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeBGR(s.data(), kWidth, kHeight, kWidth * 3, 95, out);
}
std::size_t lossyBgra(const Bytes& s, std::uint8_t** out) {
    return WebPEncodeBGRA(s.data(), kWidth, kHeight, kWidth * 4, 95, out);
}

}  // namespace webp_source

}  // namespace ravinel::test
