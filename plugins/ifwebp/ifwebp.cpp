// WebP picture plug-in over libwebp: still pictures, lossy or lossless, alpha kept
// straight in a 32-bit picture; an animation's frames, as libwebp's animation decoder
// composes them on the canvas, the first of them as the picture. Pictures come as stored; the
// orientation of an EXIF chunk is reported for the host to turn them, the profile of an ICCP chunk
// for it to convert their colours.
#include <spi_api.h>
#include <webp/decode.h>
#include <webp/demux.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_frames.h"
#include "../common/spi_input.h"
#include "codec/exif/exif_orientation.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel WebP plug-in (libwebp)",
                                                    "*.webp", "WebP image"};

// The picture's features (of an animation: its canvas); an SPI_ code.
int readFeatures(const std::uint8_t* data, std::size_t size, WebPBitstreamFeatures& features) {
    const VP8StatusCode status = WebPGetFeatures(data, size, &features);
    if (status == VP8_STATUS_UNSUPPORTED_FEATURE) {
        return SPI_NOT_SUPPORT;
    }
    return status == VP8_STATUS_OK ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
}

struct AnimDecoderDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

// The frames of an animation, composed by libwebp on a transparent canvas.
class WebpFrameWalk : public FrameWalk {
  public:
    int open(const std::uint8_t* data, std::size_t size) {
        WebPBitstreamFeatures features{};
        if (const int code = readFeatures(data, size, features); code != SPI_ALL_RIGHT) {
            return code;
        }
        if (features.has_animation == 0) {
            return SPI_NOT_SUPPORT;
        }
        // The decoder holds two canvases; the host's limits bound the one we return.
        if (const int code = checkPictureSize(features.width, features.height, 8);
            code != SPI_ALL_RIGHT) {
            return code;
        }
        WebPAnimDecoderOptions options;
        if (WebPAnimDecoderOptionsInit(&options) == 0) {
            return SPI_OTHER_ERROR;
        }
        options.color_mode = MODE_BGRA;
        options.use_threads = 0;
        const WebPData whole{data, size};
        decoder_.reset(WebPAnimDecoderNew(&whole, &options));
        WebPAnimInfo info{};
        if (!decoder_ || WebPAnimDecoderGetInfo(decoder_.get(), &info) == 0 ||
            info.frame_count == 0 || static_cast<int>(info.canvas_width) != features.width ||
            static_cast<int>(info.canvas_height) != features.height) {
            return SPI_OUT_OF_ORDER;
        }
        width_ = features.width;
        height_ = features.height;
        const WebPDemuxer* demuxer = WebPAnimDecoderGetDemuxer(decoder_.get());
        const auto count =
            static_cast<std::uint32_t>(std::min<std::size_t>(info.frame_count, kMaxFrames));
        for (std::uint32_t i = 1; i <= count; ++i) {
            WebPIterator frame{};
            if (WebPDemuxGetFrame(demuxer, static_cast<int>(i), &frame) == 0) {
                return SPI_OUT_OF_ORDER;
            }
            delays_.push_back(frame.duration);
            WebPDemuxReleaseIterator(&frame);
        }
        return SPI_ALL_RIGHT;
    }

    int width() const override { return width_; }
    int height() const override { return height_; }
    const std::vector<std::int32_t>& delays() const override { return delays_; }

    int drawNext(std::vector<std::uint8_t>& canvas) override {
        std::uint8_t* pixels = nullptr;
        int timestamp = 0;
        if (WebPAnimDecoderGetNext(decoder_.get(), &pixels, &timestamp) == 0 || pixels == nullptr) {
            return SPI_OUT_OF_ORDER;
        }
        std::memcpy(canvas.data(), pixels, canvas.size());
        return SPI_ALL_RIGHT;
    }

  private:
    std::unique_ptr<WebPAnimDecoder, AnimDecoderDeleter> decoder_;
    int width_ = 0;
    int height_ = 0;
    std::vector<std::int32_t> delays_;
};

int openWebpFrames(const std::uint8_t* data, std::size_t size, std::unique_ptr<FrameWalk>& walk) {
    auto webp = std::make_unique<WebpFrameWalk>();
    if (const int code = webp->open(data, size); code != SPI_ALL_RIGHT) {
        return code;
    }
    walk = std::move(webp);
    return SPI_ALL_RIGHT;
}

// The first frame of an animation, as a 32-bit picture.
int decodeFirstFrame(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    WebpFrameWalk walk;
    if (const int code = walk.open(data, size); code != SPI_ALL_RIGHT) {
        return code;
    }
    std::vector<std::uint8_t> canvas(std::size_t(walk.width()) * std::size_t(walk.height()) * 4);
    if (const int code = walk.drawNext(canvas); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (const int code = dib.allocate(walk.width(), walk.height(), 32, 0); code != SPI_ALL_RIGHT) {
        return code;
    }
    fillFromBgra(dib, canvas.data());
    return SPI_ALL_RIGHT;
}

int readWebpFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    WebPBitstreamFeatures features{};
    if (const int code = readFeatures(data, size, features); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = features.width;
    facts.height = features.height;
    facts.colorDepth = features.has_alpha || features.has_animation ? 32 : 24;
    return SPI_ALL_RIGHT;
}

// Decodes into memory we own, rows bottom-up; an SPI_ code.
int decodeInto(const std::uint8_t* data, std::size_t size, WEBP_CSP_MODE mode, std::uint8_t* target,
               std::size_t stride, std::size_t bytes) {
    WebPDecoderConfig config;
    if (WebPInitDecoderConfig(&config) == 0) {
        return SPI_OTHER_ERROR;
    }
    config.options.flip = 1;
    config.output.colorspace = mode;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = target;
    config.output.u.RGBA.stride = static_cast<int>(stride);
    config.output.u.RGBA.size = bytes;
    const VP8StatusCode status = WebPDecode(data, size, &config);
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK ? SPI_ALL_RIGHT : SPI_OUT_OF_ORDER;
}

int decodeWebp(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    WebPBitstreamFeatures features{};
    if (const int code = readFeatures(data, size, features); code != SPI_ALL_RIGHT) {
        return code;
    }
    if (features.has_animation != 0) {
        return decodeFirstFrame(data, size, dib);
    }
    if (const int code = checkPictureSize(features.width, features.height, 4);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    // Alpha is kept, straight, for the host to composite.
    const bool hasAlpha = features.has_alpha != 0;
    if (const int code = dib.allocate(features.width, features.height, hasAlpha ? 32 : 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    // Straight into the picture, bottom row first.
    return decodeInto(data, size, hasAlpha ? MODE_BGRA : MODE_BGR, dib.rowFromTop(dib.height() - 1),
                      dib.stride(), dib.stride() * static_cast<std::size_t>(features.height));
}

bool acceptsWebp(const void* header) {
    return headerStartsWith(header, "RIFF") &&
           headerStartsWith(static_cast<const char*>(header) + 8, "WEBP");
}

struct DemuxDeleter {
    void operator()(WebPDemuxer* demuxer) const { WebPDemuxDelete(demuxer); }
};

// The first chunk of the four-letter kind of an extended file; empty when there is none.
std::vector<std::uint8_t> firstChunk(const std::uint8_t* data, std::size_t size,
                                     const char* fourcc) {
    const WebPData whole{data, size};
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demuxer(WebPDemux(&whole));
    WebPChunkIterator chunk{};
    if (!demuxer || WebPDemuxGetChunk(demuxer.get(), fourcc, 1, &chunk) == 0) {
        return {};
    }
    std::vector<std::uint8_t> bytes(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return bytes;
}

int readWebpOrientation(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> exif = firstChunk(data, size, "EXIF");
    return exif.empty() ? 1 : exifOrientation(exif);
}

std::vector<std::uint8_t> readWebpIccProfile(const std::uint8_t* data, std::size_t size) {
    return firstChunk(data, size, "ICCP");
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsWebp,
                            ravinel::spi::readWebpFacts, ravinel::spi::decodeWebp)
RAVINEL_SPI_ORIENTATION_EXPORT(ravinel::spi::readWebpOrientation)
RAVINEL_SPI_ICC_PROFILE_EXPORT(ravinel::spi::readWebpIccProfile)
RAVINEL_SPI_FRAME_EXPORTS(ravinel::spi::openWebpFrames)
