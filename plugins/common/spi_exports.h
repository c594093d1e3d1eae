// The shape every picture plug-in's exports share: argument checks, reading the input,
// progress, handing the blocks over, and no exception ever crossing into the host.
#pragma once

#include <spi_api.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "spi_dib.h"

namespace ravinel::spi {

struct PictureFacts {
    int width = 0;
    int height = 0;
    int colorDepth = 0;
};

// A format's decoding, over the whole input.
using PictureReader = int (*)(const std::uint8_t* data, std::size_t size, PictureFacts& facts);
using PictureDecoder = int (*)(const std::uint8_t* data, std::size_t size, SpiDib& dib);
// The orientation tag's value (1 to 8) of the whole input: 1 when it has none.
using OrientationReader = int (*)(const std::uint8_t* data, std::size_t size);
// The embedded ICC profile of the whole input: empty when it has none.
using IccProfileReader = std::vector<std::uint8_t> (*)(const std::uint8_t* data, std::size_t size);

// GetPluginInfo over the plug-in's entries: copies entry infono, truncated to buflen - 1
// characters, and returns the copied length (0 for an unknown entry or no room).
std::int32_t copyPluginInfo(std::span<const char* const> entries, std::int32_t infono, char* buf,
                            std::int32_t buflen);

// GetPictureInfo: fills info (text handle NULL) from the reader's facts.
std::int32_t runGetPictureInfo(const char* buf, std::intptr_t len, std::uint32_t flag,
                               SpiPictureInfo* info, PictureReader reader);

// GetPicture and GetPreview: on any failure both handles are left NULL.
std::int32_t runGetPicture(const char* buf, std::intptr_t len, std::uint32_t flag,
                           SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback progress,
                           std::intptr_t lData, PictureDecoder decoder);

// GetPictureOrientation: *orientation from the reader (1 for data it cannot read).
std::int32_t runGetPictureOrientation(const char* buf, std::intptr_t len, std::uint32_t flag,
                                      std::int32_t* orientation, OrientationReader reader);

// GetPictureIccProfile: a copy of the reader's profile in a malloc'd block; NULL and 0 for
// none, or for one over SPI_MAX_ICC_PROFILE_BYTES.
std::int32_t runGetPictureIccProfile(const char* buf, std::intptr_t len, std::uint32_t flag,
                                     SpiHandle* profile, std::intptr_t* profileLength,
                                     IccProfileReader reader);

// True when the header buffer starts with the signature.
bool headerStartsWith(const void* header, std::string_view signature);

// IsSupported over a format's test of the header, or of the file's name and the header
// for formats whose container other formats share.
inline bool runIsSupported(bool (*accepts)(const void*), const char*, const void* header) {
    return accepts(header);
}
inline bool runIsSupported(bool (*accepts)(const char*, const void*), const char* fileName,
                           const void* header) {
    return accepts(fileName, header);
}

}  // namespace ravinel::spi

// Defines the five exports every picture plug-in of ours has, over its information
// entries, its signature test, and its reader and decoder.
#define RAVINEL_SPI_PICTURE_EXPORTS(entries, accepts, reader, decoder)                       \
    extern "C" {                                                                             \
    SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {            \
        return ::ravinel::spi::copyPluginInfo(entries, infono, buf, buflen);                 \
    }                                                                                        \
    SPI_EXPORT int32_t IsSupported(const char* filename, const void* header) {               \
        return ::ravinel::spi::runIsSupported(accepts, filename, header) ? 1 : 0;            \
    }                                                                                        \
    SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag,          \
                                      SpiPictureInfo* info) {                                \
        return ::ravinel::spi::runGetPictureInfo(buf, len, flag, info, reader);              \
    }                                                                                        \
    SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag,              \
                                  SpiHandle* pHBInfo, SpiHandle* pHBm,                       \
                                  SpiProgressCallback progress, intptr_t lData) {            \
        return ::ravinel::spi::runGetPicture(buf, len, flag, pHBInfo, pHBm, progress, lData, \
                                             decoder);                                       \
    }                                                                                        \
    SPI_EXPORT int32_t SetDecodeLimits(int32_t maxSide, int64_t maxPixelBytes) {             \
        ::ravinel::spi::setDecodeLimits(maxSide, maxPixelBytes);                             \
        return SPI_ALL_RIGHT;                                                                \
    }                                                                                        \
    }

// Defines GetPreview over the decoder of the reduced picture a file holds. It fails with
// SPI_NO_FUNCTION for a file without one, so that the host decodes the full picture.
#define RAVINEL_SPI_PREVIEW_EXPORT(decoder)                                                  \
    extern "C" SPI_EXPORT int32_t GetPreview(const char* buf, intptr_t len, uint32_t flag,   \
                                             SpiHandle* pHBInfo, SpiHandle* pHBm,            \
                                             SpiProgressCallback progress, intptr_t lData) { \
        return ::ravinel::spi::runGetPicture(buf, len, flag, pHBInfo, pHBm, progress, lData, \
                                             decoder);                                       \
    }

// Defines GetPictureOrientation over the plug-in's orientation reader: its pictures then
// come as stored, and the host turns them.
#define RAVINEL_SPI_ORIENTATION_EXPORT(reader)                                                 \
    extern "C" SPI_EXPORT int32_t GetPictureOrientation(const char* buf, intptr_t len,         \
                                                        uint32_t flag, int32_t* orientation) { \
        return ::ravinel::spi::runGetPictureOrientation(buf, len, flag, orientation, reader);  \
    }

// Defines GetPictureIccProfile over the plug-in's profile reader: its pictures then come in
// their stored colours, and the host converts them.
#define RAVINEL_SPI_ICC_PROFILE_EXPORT(reader)                                                 \
    extern "C" SPI_EXPORT int32_t GetPictureIccProfile(const char* buf, intptr_t len,          \
                                                       uint32_t flag, SpiHandle* profile,      \
                                                       intptr_t* profileLength) {              \
        return ::ravinel::spi::runGetPictureIccProfile(buf, len, flag, profile, profileLength, \
                                                       reader);                                \
    }
