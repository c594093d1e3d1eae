// GIF picture plug-in over giflib: the first frame on its logical screen. Without
// transparency, and when the frame covers the screen, the picture keeps its palette;
// otherwise it becomes 32-bit with alpha, transparent and uncovered pixels transparent.
// An animated GIF's frames come one after the other on that screen, each disposed of as
// its graphic control says, clipped to the screen.
#include <gif_lib.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_frames.h"
#include "../common/spi_input.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel GIF plug-in (giflib)", "*.gif",
                                                    "GIF image"};

int readFromCursor(GifFileType* gif, GifByteType* out, int count) {
    auto* cursor = static_cast<ByteCursor*>(gif->UserData);
    return count <= 0 ? 0 : static_cast<int>(cursor->read(out, static_cast<std::size_t>(count)));
}

// What a graphic control extension says of the frame after it.
struct FrameControl {
    int transparentIndex = NO_TRANSPARENT_COLOR;
    int disposal = DISPOSAL_UNSPECIFIED;
    std::int32_t delayMs = 0;
};

// Reads an extension; a graphic control one updates control. An SPI_ code.
int readExtension(GifFileType* gif, FrameControl& control) {
    int function = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &function, &block) != GIF_OK) {
        return SPI_OUT_OF_ORDER;
    }
    if (function == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
            control.transparentIndex = gcb.TransparentColor;
            control.disposal = gcb.DisposalMode;
            control.delayMs = gcb.DelayTime * 10;
        }
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
            return SPI_OUT_OF_ORDER;
        }
    }
    return SPI_ALL_RIGHT;
}

// Reads records up to the next image descriptor and the descriptor itself, the frame's
// control in control; SPI_NOT_SUPPORT at the end of the file.
int readToImage(GifFileType* gif, FrameControl& control) {
    control = {};
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &type) != GIF_OK) {
            return SPI_OUT_OF_ORDER;
        }
        if (type == TERMINATE_RECORD_TYPE) {
            return SPI_NOT_SUPPORT;
        }
        if (type == IMAGE_DESC_RECORD_TYPE) {
            if (DGifGetImageDesc(gif) != GIF_OK) {
                return SPI_OUT_OF_ORDER;
            }
            // giflib keeps a record of every frame read, grown one at a time: a file of
            // many frames would cost time and memory for records nobody reads.
            GifFreeSavedImages(gif);
            gif->ImageCount = 0;
            return SPI_ALL_RIGHT;
        }
        if (type != EXTENSION_RECORD_TYPE) {
            return SPI_OUT_OF_ORDER;
        }
        if (const int code = readExtension(gif, control); code != SPI_ALL_RIGHT) {
            return code;
        }
    }
}

// Passes over the compressed data of the current frame without decoding it.
int skipImageData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) != GIF_OK) {
        return SPI_OUT_OF_ORDER;
    }
    while (block != nullptr) {
        if (DGifGetCodeNext(gif, &block) != GIF_OK) {
            return SPI_OUT_OF_ORDER;
        }
    }
    return SPI_ALL_RIGHT;
}

// A giflib reader over bytes, at their start.
class GifStream {
  public:
    GifStream(const std::uint8_t* data, std::size_t size) : cursor_(data, size) {}
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;
    ~GifStream() {
        if (gif_ != nullptr) {
            int error = 0;
            DGifCloseFile(gif_, &error);
        }
    }
    int open() {
        int error = 0;
        gif_ = DGifOpen(&cursor_, readFromCursor, &error);
        if (gif_ == nullptr) {
            return error == D_GIF_ERR_NOT_ENOUGH_MEM ? SPI_NO_MEMORY : SPI_OUT_OF_ORDER;
        }
        return SPI_ALL_RIGHT;
    }
    GifFileType* gif() const { return gif_; }

  private:
    ByteCursor cursor_;
    GifFileType* gif_ = nullptr;
};

// A stream opened at its first frame, with the control of that frame.
class GifReader {
  public:
    GifReader(const std::uint8_t* data, std::size_t size) : stream_(data, size) {}

    // Reads the screen descriptor and everything up to the first image descriptor; an
    // SPI_ code.
    int openAtFirstFrame() {
        if (const int code = stream_.open(); code != SPI_ALL_RIGHT) {
            return code;
        }
        const int code = readToImage(stream_.gif(), control_);
        return code == SPI_NOT_SUPPORT ? SPI_OUT_OF_ORDER : code;
    }

    GifFileType* gif() const { return stream_.gif(); }
    int transparentIndex() const { return control_.transparentIndex; }
    const FrameControl& control() const { return control_; }

  private:
    GifStream stream_;
    FrameControl control_;
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

// A frame's declared rows and columns beyond this many screens are refused: decoding
// pixels that are all clipped away would only cost time.
constexpr std::uint64_t kMaxFrameScreens = 16;

class GifFrameWalk : public FrameWalk {
  public:
    GifFrameWalk(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    // Counts the frames and reads their delays, and opens the decoding at the first.
    int open() {
        GifReader scan(data_, size_);
        if (const int code = scan.openAtFirstFrame(); code != SPI_ALL_RIGHT) {
            return code;
        }
        FrameControl control = scan.control();
        // The screen as the still picture has it: grown to hold the first frame.
        width_ = screenWidth(scan.gif());
        height_ = screenHeight(scan.gif());
        if (const int code = checkPictureSize(width_, height_, 4); code != SPI_ALL_RIGHT) {
            return code;
        }
        // A damaged tail ends the animation with the last whole frame.
        while (skipImageData(scan.gif()) == SPI_ALL_RIGHT) {
            delays_.push_back(control.delayMs);
            if (delays_.size() >= kMaxFrames || readToImage(scan.gif(), control) != SPI_ALL_RIGHT) {
                break;
            }
        }
        decoding_ = std::make_unique<GifStream>(data_, size_);
        return decoding_->open();
    }

    int width() const override { return width_; }
    int height() const override { return height_; }
    const std::vector<std::int32_t>& delays() const override { return delays_; }

    int drawNext(std::vector<std::uint8_t>& canvas) override {
        dispose(canvas);
        FrameControl control;
        if (const int code = readToImage(decoding_->gif(), control); code != SPI_ALL_RIGHT) {
            return code == SPI_NOT_SUPPORT ? SPI_OUT_OF_ORDER : code;
        }
        GifFileType* gif = decoding_->gif();
        const GifImageDesc frame = gif->Image;
        const ColorMapObject* map = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
        const std::uint64_t screen = std::uint64_t(width_) * std::uint64_t(height_);
        if (map == nullptr ||
            std::uint64_t(frame.Width) * std::uint64_t(frame.Height) > kMaxFrameScreens * screen) {
            return SPI_OUT_OF_ORDER;
        }
        if (control.disposal == DISPOSE_PREVIOUS) {
            previous_ = canvas;
        }
        last_ = control;
        lastFrame_ = frame;
        std::vector<GifByteType> row(static_cast<std::size_t>(std::max(frame.Width, 0)));
        for (int line = 0; line < frame.Height; ++line) {
            if (DGifGetLine(gif, row.data(), frame.Width) != GIF_OK) {
                return SPI_OUT_OF_ORDER;
            }
            const int y = frame.Top + rowOfLine(line, frame.Height, frame.Interlace);
            if (y >= height_) {
                continue;
            }
            for (int x = 0; x < frame.Width && frame.Left + x < width_; ++x) {
                const int index = row[static_cast<std::size_t>(x)];
                if (index == control.transparentIndex) {
                    continue;
                }
                const GifColorType& colour = map->Colors[index < map->ColorCount ? index : 0];
                std::uint8_t* pixel =
                    canvas.data() + 4 * (std::size_t(y) * width_ + frame.Left + x);
                pixel[0] = colour.Blue;
                pixel[1] = colour.Green;
                pixel[2] = colour.Red;
                pixel[3] = 0xff;
            }
        }
        return SPI_ALL_RIGHT;
    }

  private:
    // The row of the frame that the line-th line read fills.
    static int rowOfLine(int line, int height, bool interlaced) {
        if (!interlaced) {
            return line;
        }
        constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
        constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
        for (std::size_t pass = 0; pass < kStart.size(); ++pass) {
            const int rows =
                kStart[pass] < height ? (height - kStart[pass] + kStep[pass] - 1) / kStep[pass] : 0;
            if (line < rows) {
                return kStart[pass] + line * kStep[pass];
            }
            line -= rows;
        }
        return height;
    }

    // Disposes of the frame drawn last, as its control says.
    void dispose(std::vector<std::uint8_t>& canvas) {
        if (last_.disposal == DISPOSE_BACKGROUND) {
            // Browsers clear to transparent rather than to the background colour.
            for (int y = std::max(lastFrame_.Top, 0);
                 y < std::min(lastFrame_.Top + lastFrame_.Height, height_); ++y) {
                const int left = std::min(lastFrame_.Left, width_);
                const int right = std::min(lastFrame_.Left + lastFrame_.Width, width_);
                std::memset(canvas.data() + 4 * (std::size_t(y) * width_ + left), 0,
                            4 * std::size_t(std::max(right - left, 0)));
            }
        } else if (last_.disposal == DISPOSE_PREVIOUS && previous_.size() == canvas.size()) {
            canvas = previous_;
        }
        last_ = {};
        lastFrame_ = {};
    }

    const std::uint8_t* data_;
    std::size_t size_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::int32_t> delays_;
    std::unique_ptr<GifStream> decoding_;
    FrameControl last_;
    GifImageDesc lastFrame_{};
    std::vector<std::uint8_t> previous_;
};

int openGifFrames(const std::uint8_t* data, std::size_t size, std::unique_ptr<FrameWalk>& walk) {
    auto gif = std::make_unique<GifFrameWalk>(data, size);
    if (const int code = gif->open(); code != SPI_ALL_RIGHT) {
        return code;
    }
    walk = std::move(gif);
    return SPI_ALL_RIGHT;
}

bool acceptsGif(const void* header) {
    return headerStartsWith(header, "GIF87a") || headerStartsWith(header, "GIF89a");
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsGif,
                            ravinel::spi::readGifFacts, ravinel::spi::decodeGif)
RAVINEL_SPI_FRAME_EXPORTS(ravinel::spi::openGifFrames)
