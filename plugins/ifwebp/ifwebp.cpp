// WebP picture plug-in over libwebp: still pictures, lossy or lossless, alpha kept
// straight in a 32-bit picture. Pictures come as stored; the orientation of an EXIF chunk is
// reported for the host to turn them, the profile of an ICCP chunk for it to convert their
// colours.
#include <spi_api.h>
#include <webp/decode.h>
#include <webp/demux.h>

#include <array>
#include <memory>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_input.h"
#include "codec/exif/exif_orientation.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel WebP plug-in (libwebp)",
                                                    "*.webp", "WebP image"};

// The picture's features; an SPI_ code (animations are not supported).
int readFeatures(const std::uint8_t* data, std::size_t size, WebPBitstreamFeatures& features) {
    const VP8StatusCode status = WebPGetFeatures(data, size, &features);
    if (status == VP8_STATUS_UNSUPPORTED_FEATURE) {
        return SPI_NOT_SUPPORT;
    }
    if (status != VP8_STATUS_OK) {
        return SPI_OUT_OF_ORDER;
    }
    return features.has_animation ? SPI_NOT_SUPPORT : SPI_ALL_RIGHT;
}

int readWebpFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    WebPBitstreamFeatures features{};
    if (const int code = readFeatures(data, size, features); code != SPI_ALL_RIGHT) {
        return code;
    }
    facts.width = features.width;
    facts.height = features.height;
    facts.colorDepth = features.has_alpha ? 32 : 24;
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
