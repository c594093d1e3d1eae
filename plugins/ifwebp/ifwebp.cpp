// WebP picture plug-in over libwebp: still pictures, lossy or lossless, alpha
// composited over white.
#include <spi.h>
#include <webp/decode.h>

#include <array>
#include <vector>

#include "../common/spi_exports.h"
#include "../common/spi_input.h"

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

// Decodes into memory we own, rows bottom-up when flip is set; an SPI_ code.
int decodeInto(const std::uint8_t* data, std::size_t size, WEBP_CSP_MODE mode, std::uint8_t* target,
               std::size_t stride, std::size_t bytes, bool flip) {
    WebPDecoderConfig config;
    if (WebPInitDecoderConfig(&config) == 0) {
        return SPI_OTHER_ERROR;
    }
    config.options.flip = flip ? 1 : 0;
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
    if (const int code = dib.allocate(features.width, features.height, 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    const auto height = static_cast<std::size_t>(features.height);
    if (!features.has_alpha) {
        // Straight into the picture, bottom row first.
        return decodeInto(data, size, MODE_BGR, dib.rowFromTop(dib.height() - 1), dib.stride(),
                          dib.stride() * height, true);
    }
    const std::size_t rowBytes = static_cast<std::size_t>(features.width) * 4;
    std::vector<std::uint8_t> bgra(rowBytes * height);
    if (const int code =
            decodeInto(data, size, MODE_BGRA, bgra.data(), rowBytes, bgra.size(), false);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    for (int y = 0; y < dib.height(); ++y) {
        const std::uint8_t* source = bgra.data() + rowBytes * static_cast<std::size_t>(y);
        std::uint8_t* target = dib.rowFromTop(y);
        for (int x = 0; x < dib.width(); ++x, source += 4, target += 3) {
            target[0] = overWhite(source[0], source[3]);
            target[1] = overWhite(source[1], source[3]);
            target[2] = overWhite(source[2], source[3]);
        }
    }
    return SPI_ALL_RIGHT;
}

}  // namespace
}  // namespace ravinel::spi

using namespace ravinel::spi;

extern "C" {

SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {
    return copyPluginInfo(kPluginInfo, infono, buf, buflen);
}

SPI_EXPORT int32_t IsSupported(const char*, const void* header) {
    const auto* bytes = static_cast<const char*>(header);
    return headerStartsWith(header, "RIFF") && headerStartsWith(bytes + 8, "WEBP") ? 1 : 0;
}

SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag,
                                  SpiPictureInfo* info) {
    return runGetPictureInfo(buf, len, flag, info, readWebpFacts);
}

SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,
                              SpiHandle* pHBm, SpiProgressCallback progress, intptr_t lData) {
    return runGetPicture(buf, len, flag, pHBInfo, pHBm, progress, lData, decodeWebp);
}
}
