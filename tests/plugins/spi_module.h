// Loads a built plug-in and calls its exports the way the host does.
#pragma once

#include <sdk/spi_api.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

class SpiModule {
  public:
    explicit SpiModule(const char* path);
    SpiModule(const SpiModule&) = delete;
    SpiModule& operator=(const SpiModule&) = delete;

    bool loaded() const { return handle_ != nullptr; }

    decltype(&::GetPluginInfo) getPluginInfo = nullptr;
    decltype(&::IsSupported) isSupported = nullptr;
    decltype(&::GetPictureInfo) getPictureInfo = nullptr;
    decltype(&::GetPicture) getPicture = nullptr;
    decltype(&::GetPreview) getPreview = nullptr;
    decltype(&::SetDecodeLimits) setDecodeLimits = nullptr;
    decltype(&::GetPictureFrameCount) getPictureFrameCount = nullptr;
    decltype(&::GetPictureFrame) getPictureFrame = nullptr;
    decltype(&::GetPictureFrameDelay) getPictureFrameDelay = nullptr;

    std::string info(int entry) const;
    // IsSupported over a 2048-byte header buffer filled from the data.
    bool supports(const Bytes& data) const;

  private:
    void* handle_ = nullptr;
};

// A returned picture, copied out of the plug-in's blocks (which are then freed).
struct DecodedPicture {
    std::int32_t code = SPI_OTHER_ERROR;
    SpiBitmapInfoHeader header{};
    std::vector<SpiRgbQuad> palette;
    Bytes bits;

    // Red, green, blue of pixel (x, y), y counted from the top; a 32-bit picture's shown
    // over white, so that its colours and alpha are checked together.
    std::array<std::uint8_t, 3> rgb(int x, int y) const;
    std::uint8_t index(int x, int y) const;
};

struct PictureInfoResult {
    std::int32_t code = SPI_OTHER_ERROR;
    SpiPictureInfo info{};
};

PictureInfoResult pictureInfoFromMemory(const SpiModule& module, const Bytes& data);

using DecodeExport = decltype(&::GetPicture);

// Calls a decoding export; on failure it checks that both handles stayed NULL.
DecodedPicture decodeFromMemory(DecodeExport decode, const Bytes& data);
DecodedPicture decodeFromFile(DecodeExport decode, const std::filesystem::path& path,
                              std::intptr_t offset);

// Frame index of a moving picture in memory.
DecodedPicture frameFromMemory(const SpiModule& module, const Bytes& data, std::int32_t index);

// Decodes the data from memory, and from a file both at offset 0 and after 128 bytes of
// something else, and checks that the three results agree; returns the first.
DecodedPicture decodeEverywhere(const SpiModule& module, const Bytes& data);

// The size the plug-in reports before decoding, then the decode everywhere: both must be
// width x height (and the declared and decoded depth bitCount); *picture is the decode.
// Fatal failures end the caller's check (test with HasFatalFailure()).
void expectSizeThenDecode(const SpiModule& module, const Bytes& data, int width, int height,
                          int bitCount, DecodedPicture* picture);

// Feeds every cut of the data shorter than mustFailBelow (all short cuts, then a spread)
// and corrupted copies: never a crash, failures leave the handles NULL.
void expectRejectsBrokenData(const SpiModule& module, const Bytes& data, std::size_t mustFailBelow);

// How far a picture's channels lie from the expected red, green, blue of each pixel.
struct ChannelDifference {
    int largest = 0;
    double mean = 0;
};
ChannelDifference differenceFrom(
    const DecodedPicture& picture,
    const std::function<std::array<std::uint8_t, 3>(int x, int y)>& expected);

// The colour channel over white, rounded.
std::uint8_t overWhite(unsigned channel, unsigned alpha);

}  // namespace ravinel::test
