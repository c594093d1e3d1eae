// The frames of a moving picture, decoded one after the other and kept between calls: the
// host asks for them in order, so each call draws one frame onto the last.
#pragma once

#include <spi_api.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace ravinel::spi {

// A format's walk through the frames of one input, over bytes that outlive it.
class FrameWalk {
  public:
    virtual ~FrameWalk() = default;

    // The canvas every frame is drawn on.
    virtual int width() const = 0;
    virtual int height() const = 0;
    // How long each frame stays, in milliseconds as stored; one entry a frame.
    virtual const std::vector<std::int32_t>& delays() const = 0;
    // Draws the next frame (the first after opening) onto canvas: blue, green, red and
    // straight alpha, top row first, width() x height() pixels, after disposing of the
    // frame before it as the format says. Returns an SPI_ code.
    virtual int drawNext(std::vector<std::uint8_t>& canvas) = 0;
};

// Opens the walk of the whole input; an SPI_ code. The canvas must have passed
// checkPictureSize with 4 bytes a pixel. SPI_NOT_SUPPORT: a still picture, of one frame.
using FrameWalkOpener = int (*)(const std::uint8_t* data, std::size_t size,
                                std::unique_ptr<FrameWalk>& walk);

// Never more frames than the host takes: counting stops there.
constexpr std::size_t kMaxFrames = SPI_MAX_FRAMES + 1;

// GetPictureFrameCount, GetPictureFrame and GetPictureFrameDelay over the opener.
std::int32_t runGetFrameCount(const char* buf, std::intptr_t len, std::uint32_t flag,
                              std::int32_t* count, FrameWalkOpener opener);
std::int32_t runGetFrame(const char* buf, std::intptr_t len, std::uint32_t flag, std::int32_t index,
                         SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback progress,
                         std::intptr_t lData, FrameWalkOpener opener);
std::int32_t runGetFrameDelay(const char* buf, std::intptr_t len, std::uint32_t flag,
                              std::int32_t index, std::int32_t* delayMs, FrameWalkOpener opener);

// Composites straight-alpha source pixels over straight-alpha target pixels, in place.
void blendOver(std::uint8_t* target, const std::uint8_t* source, std::size_t pixels);

}  // namespace ravinel::spi

// Defines the three frame exports over the plug-in's opener.
#define RAVINEL_SPI_FRAME_EXPORTS(opener)                                                         \
    extern "C" {                                                                                  \
    SPI_EXPORT int32_t GetPictureFrameCount(const char* buf, intptr_t len, uint32_t flag,         \
                                            int32_t* count) {                                     \
        return ::ravinel::spi::runGetFrameCount(buf, len, flag, count, opener);                   \
    }                                                                                             \
    SPI_EXPORT int32_t GetPictureFrame(const char* buf, intptr_t len, uint32_t flag,              \
                                       int32_t index, SpiHandle* pHBInfo, SpiHandle* pHBm,        \
                                       SpiProgressCallback progress, intptr_t lData) {            \
        return ::ravinel::spi::runGetFrame(buf, len, flag, index, pHBInfo, pHBm, progress, lData, \
                                           opener);                                               \
    }                                                                                             \
    SPI_EXPORT int32_t GetPictureFrameDelay(const char* buf, intptr_t len, uint32_t flag,         \
                                            int32_t index, int32_t* delayMs) {                    \
        return ::ravinel::spi::runGetFrameDelay(buf, len, flag, index, delayMs, opener);          \
    }                                                                                             \
    }
