#include "tests/plugins/spi_module.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ravinel::test {

SpiModule::SpiModule(const char* path) : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        return;
    }
    getPluginInfo = reinterpret_cast<decltype(getPluginInfo)>(dlsym(handle_, "GetPluginInfo"));
    isSupported = reinterpret_cast<decltype(isSupported)>(dlsym(handle_, "IsSupported"));
    getPictureInfo = reinterpret_cast<decltype(getPictureInfo)>(dlsym(handle_, "GetPictureInfo"));
    getPicture = reinterpret_cast<decltype(getPicture)>(dlsym(handle_, "GetPicture"));
    getPreview = reinterpret_cast<decltype(getPreview)>(dlsym(handle_, "GetPreview"));
    setDecodeLimits =
        reinterpret_cast<decltype(setDecodeLimits)>(dlsym(handle_, "SetDecodeLimits"));
    getPictureFrameCount =
        reinterpret_cast<decltype(getPictureFrameCount)>(dlsym(handle_, "GetPictureFrameCount"));
    getPictureFrame =
        reinterpret_cast<decltype(getPictureFrame)>(dlsym(handle_, "GetPictureFrame"));
    getPictureFrameDelay =
        reinterpret_cast<decltype(getPictureFrameDelay)>(dlsym(handle_, "GetPictureFrameDelay"));
}

std::string SpiModule::info(int entry) const {
    std::array<char, 256> buffer{};
    const std::int32_t length = getPluginInfo(entry, buffer.data(), 255);
    return std::string(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
}

bool SpiModule::supports(const Bytes& data) const {
    std::array<std::uint8_t, SPI_HEADER_BYTES> header{};
    std::copy_n(data.begin(), std::min(data.size(), header.size()), header.begin());
    return isSupported("picture", header.data()) != 0;
}

std::array<std::uint8_t, 3> DecodedPicture::rgb(int x, int y) const {
    if (header.biBitCount == 8) {
        const SpiRgbQuad& entry = palette.at(index(x, y));
        return {entry.rgbRed, entry.rgbGreen, entry.rgbBlue};
    }
    const std::size_t step = header.biBitCount / 8;
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) * step + 3) & ~3u;
    const std::size_t at = stride * static_cast<std::size_t>(header.biHeight - 1 - y) +
                           step * static_cast<std::size_t>(x);
    const unsigned alpha = step == 4 ? bits.at(at + 3) : 255;
    return {overWhite(bits.at(at + 2), alpha), overWhite(bits.at(at + 1), alpha),
            overWhite(bits.at(at), alpha)};
}

std::uint8_t DecodedPicture::index(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) + 3) & ~3u;
    return bits.at(stride * static_cast<std::size_t>(header.biHeight - 1 - y) +
                   static_cast<std::size_t>(x));
}

namespace {

// Runs a call that fills the two handles and copies its picture out.
DecodedPicture readBlocks(const std::function<std::int32_t(SpiHandle*, SpiHandle*)>& call) {
    DecodedPicture picture;
    SpiHandle info = reinterpret_cast<SpiHandle>(1);
    SpiHandle bits = reinterpret_cast<SpiHandle>(1);
    picture.code = call(&info, &bits);
    if (picture.code != SPI_ALL_RIGHT) {
        EXPECT_EQ(info, nullptr);
        EXPECT_EQ(bits, nullptr);
        return picture;
    }
    EXPECT_NE(info, nullptr);
    EXPECT_NE(bits, nullptr);
    if (info == nullptr || bits == nullptr) {
        std::free(info);
        std::free(bits);
        picture.code = SPI_OTHER_ERROR;
        return picture;
    }
    std::memcpy(&picture.header, info, sizeof picture.header);
    const SpiBitmapInfoHeader& header = picture.header;
    if (header.biBitCount == 32) {
        // Alpha is declared the one way the host reads it.
        SpiBitmapV5Header v5{};
        std::memcpy(&v5, info, sizeof v5);
        EXPECT_EQ(header.biSize, sizeof v5);
        EXPECT_EQ(header.biCompression, static_cast<std::uint32_t>(SPI_BI_BITFIELDS));
        EXPECT_EQ(v5.redMask, 0x00FF0000u);
        EXPECT_EQ(v5.greenMask, 0x0000FF00u);
        EXPECT_EQ(v5.blueMask, 0x000000FFu);
        EXPECT_EQ(v5.alphaMask, 0xFF000000u);
    } else {
        EXPECT_EQ(header.biSize, 40u);
    }
    EXPECT_GT(header.biHeight, 0) << "rows must be bottom-up";
    const std::size_t colours =
        header.biClrUsed != 0 ? header.biClrUsed
                              : (header.biBitCount <= 8 ? std::size_t{1} << header.biBitCount : 0);
    const auto* table =
        reinterpret_cast<const SpiRgbQuad*>(static_cast<std::uint8_t*>(info) + header.biSize);
    picture.palette.assign(table, table + colours);
    const std::size_t stride =
        (static_cast<std::size_t>(header.biWidth) * header.biBitCount / 8 + 3) & ~std::size_t{3};
    const auto* pixels = static_cast<const std::uint8_t*>(bits);
    picture.bits.assign(pixels, pixels + stride * static_cast<std::size_t>(header.biHeight));
    std::free(info);
    std::free(bits);
    return picture;
}

DecodedPicture callDecode(DecodeExport decode, const char* buf, std::intptr_t len,
                          std::uint32_t flag) {
    return readBlocks([&](SpiHandle* info, SpiHandle* bits) {
        return decode(buf, len, flag, info, bits, nullptr, 0);
    });
}

}  // namespace

DecodedPicture frameFromMemory(const SpiModule& module, const Bytes& data, std::int32_t index) {
    const Bytes exact(data.begin(), data.end());
    return readBlocks([&](SpiHandle* info, SpiHandle* bits) {
        return module.getPictureFrame(reinterpret_cast<const char*>(exact.data()),
                                      static_cast<std::intptr_t>(exact.size()), SPI_INPUT_MEMORY,
                                      index, info, bits, nullptr, 0);
    });
}

PictureInfoResult pictureInfoFromMemory(const SpiModule& module, const Bytes& data) {
    const Bytes exact(data.begin(), data.end());
    PictureInfoResult result;
    result.code = module.getPictureInfo(reinterpret_cast<const char*>(exact.data()),
                                        static_cast<std::intptr_t>(exact.size()), SPI_INPUT_MEMORY,
                                        &result.info);
    EXPECT_EQ(result.info.hInfo, nullptr);
    return result;
}

DecodedPicture decodeFromMemory(DecodeExport decode, const Bytes& data) {
    // An exact-size copy, so that reading past the end is caught by the sanitizer.
    const Bytes exact(data.begin(), data.end());
    return callDecode(decode, reinterpret_cast<const char*>(exact.data()),
                      static_cast<std::intptr_t>(exact.size()), SPI_INPUT_MEMORY);
}

DecodedPicture decodeFromFile(DecodeExport decode, const std::filesystem::path& path,
                              std::intptr_t offset) {
    return callDecode(decode, path.c_str(), offset, SPI_INPUT_FILE);
}

void expectSizeThenDecode(const SpiModule& module, const Bytes& data, int width, int height,
                          int bitCount, DecodedPicture* picture) {
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(module.supports(data));
    const auto [code, info] = pictureInfoFromMemory(module, data);
    ASSERT_EQ(code, SPI_ALL_RIGHT);
    EXPECT_EQ(info.width, width);
    EXPECT_EQ(info.height, height);
    EXPECT_EQ(info.colorDepth, bitCount);

    *picture = decodeEverywhere(module, data);
    ASSERT_EQ(picture->code, SPI_ALL_RIGHT);
    ASSERT_EQ(picture->header.biWidth, width);
    ASSERT_EQ(picture->header.biHeight, height);
    ASSERT_EQ(picture->header.biBitCount, bitCount);
}

DecodedPicture decodeEverywhere(const SpiModule& module, const Bytes& data) {
    DecodedPicture fromMemory = decodeFromMemory(module.getPicture, data);
    const TemporaryFile plain("plain", data);
    const DecodedPicture fromFile = decodeFromFile(module.getPicture, plain.path(), 0);
    Bytes prefixed(128 + data.size(), 0x5a);
    std::copy(data.begin(), data.end(), prefixed.begin() + 128);
    const TemporaryFile shifted("shifted", prefixed);
    const DecodedPicture fromOffset = decodeFromFile(module.getPicture, shifted.path(), 128);
    EXPECT_EQ(fromMemory.code, SPI_ALL_RIGHT);
    EXPECT_EQ(fromFile.code, fromMemory.code);
    EXPECT_EQ(fromOffset.code, fromMemory.code);
    EXPECT_EQ(fromFile.bits, fromMemory.bits);
    EXPECT_EQ(fromOffset.bits, fromMemory.bits);
    EXPECT_EQ(std::memcmp(&fromFile.header, &fromMemory.header, sizeof fromFile.header), 0);
    return fromMemory;
}

void expectRejectsBrokenData(const SpiModule& module, const Bytes& data,
                             std::size_t mustFailBelow) {
    const std::size_t step = std::max<std::size_t>(1, data.size() / 97);
    for (std::size_t cut = 0; cut < data.size(); cut += cut < 96 ? 1 : step) {
        const Bytes truncated(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(cut));
        const DecodedPicture picture = decodeFromMemory(module.getPicture, truncated);
        if (cut < mustFailBelow) {
            EXPECT_NE(picture.code, SPI_ALL_RIGHT) << "cut at " << cut;
        }
        pictureInfoFromMemory(module, truncated);
    }
    // Corrupted copies may decode to something or fail, but must stay within bounds.
    std::uint32_t state = 12345;
    for (int round = 0; round < 64; ++round) {
        Bytes corrupted = data;
        for (int i = 0; i < 4; ++i) {
            state = state * 1103515245u + 12345u;
            const std::size_t at = 8 + (state >> 8) % (corrupted.size() - 8);
            corrupted[at] = static_cast<std::uint8_t>(state >> 24);
        }
        decodeFromMemory(module.getPicture, corrupted);
    }
    // Garbage after a valid signature.
    Bytes garbage(data.begin(), data.begin() + 16);
    for (int i = 0; i < 4000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.push_back(static_cast<std::uint8_t>(state >> 24));
    }
    decodeFromMemory(module.getPicture, garbage);
}

ChannelDifference differenceFrom(
    const DecodedPicture& picture,
    const std::function<std::array<std::uint8_t, 3>(int x, int y)>& expected) {
    ChannelDifference difference;
    double total = 0;
    for (int y = 0; y < picture.header.biHeight; ++y) {
        for (int x = 0; x < picture.header.biWidth; ++x) {
            const auto actual = picture.rgb(x, y);
            const auto wanted = expected(x, y);
            for (int c = 0; c < 3; ++c) {
                const int channel = std::abs(actual[c] - wanted[c]);
                difference.largest = std::max(difference.largest, channel);
                total += channel;
            }
        }
    }
    const double channels = 3.0 * picture.header.biWidth * picture.header.biHeight;
    difference.mean = channels > 0 ? total / channels : 0;
    return difference;
}

std::uint8_t overWhite(unsigned channel, unsigned alpha) {
    return static_cast<std::uint8_t>(
        std::lround((channel * alpha + 255.0 * (255 - alpha)) / 255.0));
}

}  // namespace ravinel::test
