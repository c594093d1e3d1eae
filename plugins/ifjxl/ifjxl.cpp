// JPEG XL picture plug-in over libjxl: bare codestreams and containers, the first frame
// of an animation, turned upright as the file says, alpha kept straight in a
// 32-bit picture.
#include <jxl/decode.h>
#include <jxl/resizable_parallel_runner.h>
#include <spi_api.h>

#include <algorithm>
#include <array>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "../common/spi_exports.h"

namespace ravinel::spi {
namespace {

constexpr std::array<const char*, 4> kPluginInfo = {"00IN", "Ravinel JPEG XL plug-in (libjxl)",
                                                    "*.jxl", "JPEG XL image"};

constexpr std::int64_t kMaxInfoSide = std::numeric_limits<std::int32_t>::max();

struct JxlDeleter {
    void operator()(JxlDecoder* decoder) const { JxlDecoderDestroy(decoder); }
};
struct RunnerDeleter {
    void operator()(void* runner) const { JxlResizableParallelRunnerDestroy(runner); }
};

bool isJxl(const std::uint8_t* data, std::size_t size) {
    const JxlSignature signature = JxlSignatureCheck(data, size);
    return signature == JXL_SIG_CODESTREAM || signature == JXL_SIG_CONTAINER;
}

// A decoder over the whole input that reports the events and gives straight alpha; null
// when out of memory.
std::unique_ptr<JxlDecoder, JxlDeleter> decoderFor(const std::uint8_t* data, std::size_t size,
                                                   int events) {
    std::unique_ptr<JxlDecoder, JxlDeleter> decoder(JxlDecoderCreate(nullptr));
    if (decoder == nullptr || JxlDecoderSubscribeEvents(decoder.get(), events) != JXL_DEC_SUCCESS ||
        JxlDecoderSetUnpremultiplyAlpha(decoder.get(), JXL_TRUE) != JXL_DEC_SUCCESS ||
        JxlDecoderSetInput(decoder.get(), data, size) != JXL_DEC_SUCCESS) {
        return nullptr;
    }
    JxlDecoderCloseInput(decoder.get());
    return decoder;
}

// The next event; with all the input given, wanting more means truncated data.
JxlDecoderStatus nextEvent(JxlDecoder* decoder) {
    const JxlDecoderStatus status = JxlDecoderProcessInput(decoder);
    return status == JXL_DEC_NEED_MORE_INPUT ? JXL_DEC_ERROR : status;
}

int readBasicInfo(JxlDecoder* decoder, JxlBasicInfo& info) {
    return nextEvent(decoder) == JXL_DEC_BASIC_INFO &&
                   JxlDecoderGetBasicInfo(decoder, &info) == JXL_DEC_SUCCESS
               ? SPI_ALL_RIGHT
               : SPI_OUT_OF_ORDER;
}

// The size as shown: orientations 5 to 8 turn the picture by a quarter.
std::pair<std::int64_t, std::int64_t> uprightSize(const JxlBasicInfo& info) {
    if (info.orientation >= JXL_ORIENT_TRANSPOSE) {
        return {info.ysize, info.xsize};
    }
    return {info.xsize, info.ysize};
}

int readJxlFacts(const std::uint8_t* data, std::size_t size, PictureFacts& facts) {
    if (!isJxl(data, size)) {
        return SPI_NOT_SUPPORT;
    }
    const auto decoder = decoderFor(data, size, JXL_DEC_BASIC_INFO);
    if (decoder == nullptr) {
        return SPI_NO_MEMORY;
    }
    JxlBasicInfo info;
    if (const int code = readBasicInfo(decoder.get(), info); code != SPI_ALL_RIGHT) {
        return code;
    }
    const auto [width, height] = uprightSize(info);
    // Sides of up to 2^30 pixels; a width from the aspect ratio may be a bit wider.
    facts.width = static_cast<int>(std::min<std::int64_t>(width, kMaxInfoSide));
    facts.height = static_cast<int>(std::min<std::int64_t>(height, kMaxInfoSide));
    facts.colorDepth = info.alpha_bits > 0 ? 32 : 24;
    return SPI_ALL_RIGHT;
}

int decodeJxl(const std::uint8_t* data, std::size_t size, SpiDib& dib) {
    if (!isJxl(data, size)) {
        return SPI_NOT_SUPPORT;
    }
    const auto decoder = decoderFor(data, size, JXL_DEC_BASIC_INFO | JXL_DEC_FULL_IMAGE);
    const std::unique_ptr<void, RunnerDeleter> runner(JxlResizableParallelRunnerCreate(nullptr));
    if (decoder == nullptr || runner == nullptr) {
        return SPI_NO_MEMORY;
    }
    if (JxlDecoderSetParallelRunner(decoder.get(), JxlResizableParallelRunner, runner.get()) !=
        JXL_DEC_SUCCESS) {
        return SPI_OTHER_ERROR;
    }
    JxlBasicInfo info;
    if (const int code = readBasicInfo(decoder.get(), info); code != SPI_ALL_RIGHT) {
        return code;
    }
    // Red, green, blue, alpha, 4 bytes a pixel, before the library allocates its frame.
    const auto [width, height] = uprightSize(info);
    if (const int code = checkPictureSize(width, height, 4); code != SPI_ALL_RIGHT) {
        return code;
    }
    JxlResizableParallelRunnerSetThreads(
        runner.get(), JxlResizableParallelRunnerSuggestThreads(info.xsize, info.ysize));
    if (const int code = dib.allocate(static_cast<int>(width), static_cast<int>(height),
                                      info.alpha_bits > 0 ? 32 : 24, 0);
        code != SPI_ALL_RIGHT) {
        return code;
    }
    const JxlPixelFormat format = {4, JXL_TYPE_UINT8, JXL_NATIVE_ENDIAN, 0};
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> rgba(stride * static_cast<std::size_t>(height));
    for (;;) {
        switch (nextEvent(decoder.get())) {
            case JXL_DEC_NEED_IMAGE_OUT_BUFFER: {
                std::size_t needed = 0;
                if (JxlDecoderImageOutBufferSize(decoder.get(), &format, &needed) !=
                        JXL_DEC_SUCCESS ||
                    needed != rgba.size() ||
                    JxlDecoderSetImageOutBuffer(decoder.get(), &format, rgba.data(), rgba.size()) !=
                        JXL_DEC_SUCCESS) {
                    return SPI_OUT_OF_ORDER;
                }
                break;
            }
            case JXL_DEC_FULL_IMAGE:
                // The first frame is the picture; an animation's others are not read.
                fillFromRgba(dib, rgba.data(), stride);
                return SPI_ALL_RIGHT;
            default:
                // Broken or truncated data, or an end before any frame.
                return SPI_OUT_OF_ORDER;
        }
    }
}

// A bare codestream (FF 0A) or the container's signature box.
bool acceptsJxl(const void* header) {
    return header != nullptr && isJxl(static_cast<const std::uint8_t*>(header), 12);
}

}  // namespace
}  // namespace ravinel::spi

RAVINEL_SPI_PICTURE_EXPORTS(ravinel::spi::kPluginInfo, ravinel::spi::acceptsJxl,
                            ravinel::spi::readJxlFacts, ravinel::spi::decodeJxl)
