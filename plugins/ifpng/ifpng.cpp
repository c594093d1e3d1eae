// PNG picture plug-in over libpng: every colour type and bit depth, interlaced or not.
// An animated PNG's frames are read from its own chunks: each frame's data, with the
// picture's header and palette, makes a PNG stream of its own for libpng, and the frames
// are disposed of and blended on the canvas as their controls say. A frame sequence that
// does not hold together leaves the still picture.
// Palette pictures without transparency stay 8-bit palette; everything else becomes
// 24-bit, or 32-bit with straight alpha when the picture has alpha (or tRNS). Pictures come as
// stored; the orientation of an eXIf chunk is reported for the host to turn them, the
// profile of an iCCP chunk for it to convert their colours.
#include <png.h>
#include <spi_api.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_frames.h"
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

std::uint32_t readBe32(const std::uint8_t* at) {
    return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) |
           (std::uint32_t{at[2]} << 8) | at[3];
}

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Appends a chunk of the kind with the payload's pieces, with its CRC.
void putChunk(std::vector<std::uint8_t>& out, std::string_view kind,
              const std::vector<std::pair<const std::uint8_t*, std::size_t>>& pieces) {
    std::size_t length = 0;
    for (const auto& piece : pieces) {
        length += piece.second;
    }
    putBe32(out, static_cast<std::uint32_t>(length));
    const std::size_t start = out.size();
    out.insert(out.end(), kind.begin(), kind.end());
    for (const auto& [bytes, size] : pieces) {
        out.insert(out.end(), bytes, bytes + size);
    }
    putBe32(out, static_cast<std::uint32_t>(
                     crc32(0, out.data() + start, static_cast<uInt>(out.size() - start))));
}

// One chunk of the file: its kind and where its payload lies.
struct Chunk {
    std::string_view kind;
    const std::uint8_t* payload;
    std::uint32_t length;
};

enum : std::uint8_t { kDisposeNone = 0, kDisposeBackground = 1, kDisposePrevious = 2 };
enum : std::uint8_t { kBlendSource = 0, kBlendOver = 1 };

struct ApngFrame {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t left = 0;
    std::uint32_t top = 0;
    std::int32_t delayMs = 0;
    std::uint8_t dispose = kDisposeNone;
    std::uint8_t blend = kBlendSource;
    // The compressed data, in pieces of the file.
    std::vector<std::pair<const std::uint8_t*, std::size_t>> data;
};

// The frames of an animated PNG, each decoded by libpng from a stream of its own.
class ApngFrameWalk : public FrameWalk {
  public:
    // SPI_NOT_SUPPORT for a still PNG and for an animation whose chunks do not hold
    // together: the picture is then shown still.
    int open(const std::uint8_t* data, std::size_t size) {
        std::vector<Chunk> chunks;
        if (!declaresAnimation(data, size) || !readChunks(data, size, chunks) || chunks.empty() ||
            chunks[0].kind != "IHDR" || chunks[0].length != 13) {
            return SPI_NOT_SUPPORT;
        }
        header_.assign(chunks[0].payload, chunks[0].payload + 13);
        width_ = static_cast<int>(std::min<std::uint32_t>(readBe32(chunks[0].payload), INT32_MAX));
        height_ =
            static_cast<int>(std::min<std::uint32_t>(readBe32(chunks[0].payload + 4), INT32_MAX));
        if (!readFrames(chunks)) {
            return SPI_NOT_SUPPORT;
        }
        return checkPictureSize(width_, height_, 4);
    }

    int width() const override { return width_; }
    int height() const override { return height_; }
    const std::vector<std::int32_t>& delays() const override { return delays_; }

    int drawNext(std::vector<std::uint8_t>& canvas) override {
        if (next_ >= frames_.size()) {
            return SPI_OUT_OF_ORDER;
        }
        if (next_ > 0) {
            dispose(frames_[next_ - 1], canvas);
        }
        const ApngFrame& frame = frames_[next_];
        // Disposing of the first frame to what was before it clears it.
        if (frame.dispose == kDisposePrevious && next_ > 0) {
            previous_ = canvas;
        }
        std::vector<std::uint8_t> pixels;
        if (const int code = decodeFrame(frame, pixels); code != SPI_ALL_RIGHT) {
            return code;
        }
        const std::size_t rowBytes = std::size_t{frame.width} * 4;
        for (std::uint32_t y = 0; y < frame.height; ++y) {
            std::uint8_t* target =
                canvas.data() +
                4 * ((std::size_t{frame.top} + y) * std::size_t(width_) + frame.left);
            const std::uint8_t* source = pixels.data() + rowBytes * y;
            if (frame.blend == kBlendOver) {
                blendOver(target, source, frame.width);
            } else {
                std::memcpy(target, source, rowBytes);
            }
        }
        ++next_;
        return SPI_ALL_RIGHT;
    }

  private:
    // An acTL chunk before the picture's data: a quick look that spares still pictures
    // the checked reading of every chunk.
    static bool declaresAnimation(const std::uint8_t* data, std::size_t size) {
        for (std::size_t at = 8; at + 12 <= size;) {
            const std::uint32_t length = readBe32(data + at);
            const std::string_view kind(reinterpret_cast<const char*>(data + at + 4), 4);
            if (kind == "acTL") {
                return true;
            }
            if (kind == "IDAT" || length > size - at - 12) {
                return false;
            }
            at += 12 + std::size_t{length};
        }
        return false;
    }

    // Every chunk from the signature to IEND, CRCs checked; false when the file breaks.
    static bool readChunks(const std::uint8_t* data, std::size_t size, std::vector<Chunk>& chunks) {
        std::size_t at = 8;
        while (at + 12 <= size) {
            const std::uint32_t length = readBe32(data + at);
            if (length > size - at - 12) {
                return false;
            }
            const std::uint8_t* kind = data + at + 4;
            if (readBe32(kind + 4 + length) !=
                crc32(0, kind, static_cast<uInt>(4 + std::size_t{length}))) {
                return false;
            }
            chunks.push_back({{reinterpret_cast<const char*>(kind), 4}, kind + 4, length});
            if (chunks.back().kind == "IEND") {
                return true;
            }
            at += 12 + std::size_t{length};
        }
        return false;
    }

    // The frames and what every frame's stream repeats; false when the sequence is broken.
    bool readFrames(const std::vector<Chunk>& chunks) {
        std::uint32_t declared = 0;
        std::uint32_t sequence = 0;
        bool seenData = false;
        bool dataIsFrame = false;
        for (const Chunk& chunk : chunks) {
            if (chunk.kind == "acTL" && chunk.length == 8 && !seenData) {
                declared = readBe32(chunk.payload);
            } else if (chunk.kind == "PLTE" || chunk.kind == "tRNS") {
                shared_.push_back(chunk);
            } else if (chunk.kind == "fcTL") {
                if (chunk.length != 26 || readBe32(chunk.payload) != sequence++ ||
                    frames_.size() >= kMaxFrames || !addFrame(chunk.payload + 4)) {
                    return false;
                }
                dataIsFrame = dataIsFrame || !seenData;
            } else if (chunk.kind == "IDAT") {
                seenData = true;
                if (dataIsFrame) {
                    frames_.back().data.emplace_back(chunk.payload, chunk.length);
                }
            } else if (chunk.kind == "fdAT") {
                if (chunk.length < 4 || readBe32(chunk.payload) != sequence++ || frames_.empty() ||
                    (dataIsFrame && frames_.size() == 1)) {
                    return false;
                }
                frames_.back().data.emplace_back(chunk.payload + 4, chunk.length - 4);
            }
        }
        // The picture's own data, when it is the first frame, fills the whole canvas.
        if (dataIsFrame && (frames_[0].left != 0 || frames_[0].top != 0 ||
                            frames_[0].width != std::uint32_t(width_) ||
                            frames_[0].height != std::uint32_t(height_))) {
            return false;
        }
        if (declared == 0 || frames_.size() != declared) {
            return false;
        }
        for (const ApngFrame& frame : frames_) {
            if (frame.data.empty()) {
                return false;
            }
            delays_.push_back(frame.delayMs);
        }
        return true;
    }

    // A frame control after its sequence number; false when it does not fit the canvas.
    bool addFrame(const std::uint8_t* control) {
        ApngFrame frame;
        frame.width = readBe32(control);
        frame.height = readBe32(control + 4);
        frame.left = readBe32(control + 8);
        frame.top = readBe32(control + 12);
        const unsigned numerator = (unsigned{control[16]} << 8) | control[17];
        const unsigned denominator = (unsigned{control[18]} << 8) | control[19];
        frame.delayMs =
            static_cast<std::int32_t>(numerator * 1000u / (denominator == 0 ? 100u : denominator));
        frame.dispose = control[20];
        frame.blend = control[21];
        if (frame.width == 0 || frame.height == 0 || frame.dispose > kDisposePrevious ||
            frame.blend > kBlendOver ||
            std::uint64_t{frame.left} + frame.width > std::uint64_t(width_) ||
            std::uint64_t{frame.top} + frame.height > std::uint64_t(height_)) {
            return false;
        }
        frames_.push_back(std::move(frame));
        return true;
    }

    void dispose(const ApngFrame& frame, std::vector<std::uint8_t>& canvas) {
        if (frame.dispose == kDisposePrevious && previous_.size() == canvas.size()) {
            canvas = previous_;
            return;
        }
        if (frame.dispose == kDisposeNone) {
            return;
        }
        for (std::uint32_t y = 0; y < frame.height; ++y) {
            std::memset(canvas.data() +
                            4 * ((std::size_t{frame.top} + y) * std::size_t(width_) + frame.left),
                        0, std::size_t{frame.width} * 4);
        }
    }

    // The frame's pixels as blue, green, red and straight alpha rows; an SPI_ code.
    int decodeFrame(const ApngFrame& frame, std::vector<std::uint8_t>& pixels) const {
        std::vector<std::uint8_t> stream(kPngSignature.begin(), kPngSignature.end());
        std::vector<std::uint8_t> header = header_;
        header[0] = static_cast<std::uint8_t>(frame.width >> 24);
        header[1] = static_cast<std::uint8_t>(frame.width >> 16);
        header[2] = static_cast<std::uint8_t>(frame.width >> 8);
        header[3] = static_cast<std::uint8_t>(frame.width);
        header[4] = static_cast<std::uint8_t>(frame.height >> 24);
        header[5] = static_cast<std::uint8_t>(frame.height >> 16);
        header[6] = static_cast<std::uint8_t>(frame.height >> 8);
        header[7] = static_cast<std::uint8_t>(frame.height);
        putChunk(stream, "IHDR", {{header.data(), header.size()}});
        for (const Chunk& chunk : shared_) {
            putChunk(stream, chunk.kind, {{chunk.payload, chunk.length}});
        }
        putChunk(stream, "IDAT", frame.data);
        putChunk(stream, "IEND", {});

        PngReader reader(stream.data(), stream.size());
        if (const int code = reader.readInfo(); code != SPI_ALL_RIGHT) {
            return code;
        }
        png_structp png = reader.png();
        png_infop info = reader.info();
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
        if (!guarded(png, [png, info] {
                png_set_interlace_handling(png);
                png_read_update_info(png, info);
            })) {
            return SPI_OUT_OF_ORDER;
        }
        const std::size_t rowBytes = std::size_t{frame.width} * 4;
        if (png_get_rowbytes(png, info) != rowBytes) {
            return SPI_OUT_OF_ORDER;
        }
        pixels.assign(rowBytes * frame.height, 0);
        std::vector<png_bytep> rows(frame.height);
        for (std::uint32_t y = 0; y < frame.height; ++y) {
            rows[y] = pixels.data() + rowBytes * y;
        }
        return guarded(png, [png, &rows] { png_read_image(png, rows.data()); }) ? SPI_ALL_RIGHT
                                                                                : SPI_OUT_OF_ORDER;
    }

    static constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P',  'N',  'G',
                                                                  '\r', '\n', 0x1a, '\n'};

    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> header_;
    std::vector<Chunk> shared_;
    std::vector<ApngFrame> frames_;
    std::vector<std::int32_t> delays_;
    std::vector<std::uint8_t> previous_;
    std::size_t next_ = 0;
};

int openApngFrames(const std::uint8_t* data, std::size_t size, std::unique_ptr<FrameWalk>& walk) {
    auto apng = std::make_unique<ApngFrameWalk>();
    if (const int code = apng->open(data, size); code != SPI_ALL_RIGHT) {
        return code;
    }
    walk = std::move(apng);
    return SPI_ALL_RIGHT;
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
RAVINEL_SPI_FRAME_EXPORTS(ravinel::spi::openApngFrames)
