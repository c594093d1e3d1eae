// GIF picture plug-in over giflib: the first frame on its logical screen. Without
// transparency, and when the frame covers the screen, the picture keeps its palette;
// otherwise it becomes 32-bit with alpha, transparent and uncovered pixels transparent.
#include <gif_lib.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_input.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel GIF plug-in (giflib)", "*.gif",
                                                    "GIF image"};

int readFromCursor(GifFileType* gif, GifByteType* out, int count) {
    auto* cursor = static_cast<ByteCursor*>(gif->UserData);
    return count <= 0 ? 0 : static_cast<int>(cursor->read(out, static_cast<std::size_t>(count)));
}

class GifReader {
  public:
    GifReader(const std::uint8_t* data, std::size_t size) : cursor_(data, size) {}
    GifReader(const GifReader&) = delete;
    GifReader& operator=(const GifReader&) = delete;
    ~GifReader() {
        if (gif_ != nullptr) {
            int error = 0;
            DGifCloseFile(gif_, &error);
        }
    }

    // Reads the screen descriptor and everything up to the first image descriptor,
    // noting the transparent index of the graphic control extension before it; an SPI_
    // code.
    int openAtFirstFrame() {
        int error = 0;
        gif_ = DGifOpen(&cursor_, readFromCursor, &error);
        if (gif_ == nullptr) {
            return error == D_GIF_ERR_NOT_ENOUGH_MEM ? SPI_NO_MEMORY : SPI_OUT_OF_ORDER;
        }
        for (;;) {
            GifRecordType type = UNDEFINED_RECORD_TYPE;
            if (DGifGetRecordType(gif_, &type) != GIF_OK) {
                return SPI_OUT_OF_ORDER;
            }
            if (type == IMAGE_DESC_RECORD_TYPE) {
                return DGifGetImageDesc(gif_) == GIF_OK ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
            }
            if (type != EXTENSION_RECORD_TYPE) {
                return SPI_OUT_OF_ORDER;
            }
            if (const int code = skipExtension(); code != SPI_ALL_RIGHT) {
                return code;
            }
        }
    }

    GifFileType* gif() const { return gif_; }
    int transparentIndex() const { return transparentIndex_; }

  private:
    int skipExtension() {
        int function = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif_, &function, &block) != GIF_OK) {
            return SPI_OUT_OF_ORDER;
        }
        if (function == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
            GraphicsControlBlock control{};
            if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) {
                transparentIndex_ = control.TransparentColor;
            }
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif_, &block) != GIF_OK) {
                return SPI_OUT_OF_ORDER;
            }
        }
        return SPI_ALL_RIGHT;
    }

    ByteCursor cursor_;
    GifFileType* gif_ = nullptr;
    int transparentIndex_ = NO_TRANSPARENT_COLOR;
};

// The logical screen, grown to hold the frame when a broken file declares it smaller.
int screenWidth(const GifFileType* gif) {
    return std::max(gif->SWidth, gif->Image.Left + gif->Image.Width);
}
int screenHeight(const GifFileType* gif) {
    return std::max(gif->SHeight, gif->Image.Top + gif->Image.Height);
}

int readGifFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    GifReader reader(data, size);
    if (const int code = reader.openAtFirstFrame(); code != SPI_ALL_RIGHT) {
        return code;
    }
    const GifFileType* gif = reader.gif();
    const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
    facts.width = screenWidth(gif);
    facts.height = screenHeight(gif);
    facts.colorDepth = map != nullptr ? map->BitsPerPixel : 8;
    return SPI_ALL_RIGHT;
}

// Reads the frame's indices, row by row in picture order, interlaced or not.
int readIndices(GifFileType* gif, std::vector<GifByteType>& indices) {
    const int width = gif->Image.Width;
    const int height = gif->Image.Height;
    indices.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    auto readRow = [&](int y) {
        return DGifGetLine(gif, indices.data() + static_cast<std::size_t>(width) * y, width) ==
               GIF_OK;
    };
    if (gif->Image.Interlace) {
        constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
        constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
        for (std::size_t pass = 0; pass < kStart.size(); ++pass) {
            for (int y = kStart[pass]; y < height; y += kStep[pass]) {
                if (!readRow(y)) {
                    return SPI_OUT_OF_ORDER;
                }
            }
        }
    } else {
        for (int y = 0; y < height; ++y) {
            if (!readRow(y)) {
                return SPI_OUT_OF_ORDER;
            }
        }
    }
    return SPI_ALL_RIGHT;
}

void writePalettePicture(const std::vector<GifByteType>& indices, const ColorMapObject& map,
                         SpiDib& dib) {
    for (int i = 0; i < map.ColorCount; ++i) {
        const GifColorType& colour = map.Colors[i];
        dib.palette()[i] = {colour.Blue, colour.Green, colour.Red, 0};
    }
    const auto width = static_cast<std::size_t>(dib.width());
    for (int y = 0; y < dib.height(); ++y) {
        const GifByteType* source = indices.data() + width * static_cast<std::size_t>(y);
        std::uint8_t* target = dib.rowFromTop(y);
        for (std::size_t x = 0; x < width; ++x) {
            // Indices past the colour map show its first colour.
            target[x] = source[x] < map.ColorCount ? source[x] : 0;
        }
    }
}

// The rows of a fresh picture are zeroed: everything the frame does not paint stays
// transparent.
void writeAlphaPicture(const std::vector<GifByteType>& indices, const GifImageDesc& frame,
                       const ColorMapObject& map, int transparentIndex, SpiDib& dib) {
    for (int y = 0; y < frame.Height; ++y) {
        const GifByteType* source =
            indices.data() + static_cast<std::size_t>(frame.Width) * static_cast<std::size_t>(y);
        std::uint8_t* target = dib.rowFromTop(frame.Top + y) + 4 * frame.Left;
        for (int x = 0; x < frame.Width; ++x, target += 4) {
            const int index = source[x];
            if (index == transparentIndex) {
                continue;
            }
            const GifColorType& colour = map.Colors[index < map.ColorCount ? index : 0];
            target[0] = colour.Blue;
            target[1] = colour.Green;
            target[2] = colour.Red;
            target[3] = 0xff;
        }
    }
}

int decodeGif(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    GifReader reader(data, size);
    if (const int code = reader.openAtFirstFrame(); code != SPI_ALL_RIGHT) {
        return code;
    }
    GifFileType* gif = reader.gif();
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (map == nullptr) {
        return SPI_OUT_OF_ORDER;
    }
    const int width = screenWidth(gif);
    const int height = screenHeight(gif);
    if (const int code = checkPictureSize(width, height, 4); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (frame.Width <= 0 || frame.Height <= 0) {
        return SPI_OUT_OF_ORDER;
    }
    std::vector<GifByteType> indices;
    if (const int code = readIndices(gif, indices); code != SPI_ALL_RIGHT) {
        return code;
    }
    const bool keepPalette = reader.transparentIndex() == NO_TRANSPARENT_COLOR && frame.Left == 0 &&
                             frame.Top == 0 && frame.Width == width && frame.Height == height;
    if (keepPalette) {
        const int code = dib.allocate(width, height, 8, map->ColorCount);
        if (code != SPI_ALL_RIGHT) {
            return code;
        }
        writePalettePicture(indices, *map, dib);
    } else {
        if (const int code = dib.allocate(width, height, 32, 0); code != SPI_ALL_RIGHT) {
            return code;
        }
        writeAlphaPicture(indices, frame, *map, reader.transparentIndex(), dib);
    }
    return SPI_ALL_RIGHT;
}

bool acceptsGif(const void* header) {
    return headerStartsWith(header, "GIF87a") || headerStartsWith(header, "GIF89a");
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsGif,
                            ravinel::spi::readGifFacts, ravinel::spi::decodeGif)
