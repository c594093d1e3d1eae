#include "spi_exports.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "spi_input.h"

namespace ravinel::spi {

namespace {

// Opens the input and runs use on it; no exception leaves for the host.
template <class Use>
std::int32_t withInput(const char* buf, std::intptr_t len, std::uint32_t flag, Use&& use) {
    try {
        SpiInput input;
        if (const int code = input.open(buf, len, flag); code != SPI_ALL_RIGHT) {
            return code;
        }
        return use(input);
    } catch (const std::bad_alloc&) {
        return SPI_NO_MEMORY;
    } catch (...) {
        return SPI_OTHER_ERROR;
    }
}

}  // namespace

std::int32_t copyPluginInfo(std::span<const char* const> entries, std::int32_t infono, char* buf,
                            std::int32_t buflen) {
    if (infono < 0 || static_cast<std::size_t>(infono) >= entries.size() || buf == nullptr ||
        buflen <= 0) {
        return 0;
    }
    const std::size_t room = static_cast<std::size_t>(buflen) - 1;
    std::size_t length = std::strlen(entries[static_cast<std::size_t>(infono)]);
    if (length > room) {
        length = room;
    }
    std::memcpy(buf, entries[static_cast<std::size_t>(infono)], length);
    buf[length] = '\0';
    return static_cast<std::int32_t>(length);
}

std::int32_t runGetPictureInfo(const char* buf, std::intptr_t len, std::uint32_t flag,
                               SpiPictureInfo* info, PictureReader reader) {
    if (info == nullptr) {
        return SPI_OTHER_ERROR;
    }
    std::memset(info, 0, sizeof *info);
    return withInput(buf, len, flag, [&](const SpiInput& input) {
        PictureFacts facts;
        if (const int code = reader(input.data(), input.size(), facts); code != SPI_ALL_RIGHT) {
            return code;
        }
        info->width = facts.width;
        info->height = facts.height;
        info->colorDepth = static_cast<std::int16_t>(facts.colorDepth);
        return static_cast<int>(SPI_ALL_RIGHT);
    });
}

std::int32_t runGetPictureOrientation(const char* buf, std::intptr_t len, std::uint32_t flag,
                                      std::int32_t* orientation, OrientationReader reader) {
    if (orientation == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *orientation = 1;
    return withInput(buf, len, flag, [&](const SpiInput& input) {
        *orientation = reader(input.data(), input.size());
        return static_cast<int>(SPI_ALL_RIGHT);
    });
}

std::int32_t runGetPictureIccProfile(const char* buf, std::intptr_t len, std::uint32_t flag,
                                     SpiHandle* profile, std::intptr_t* profileLength,
                                     IccProfileReader reader) {
    if (profile == nullptr || profileLength == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *profile = nullptr;
    *profileLength = 0;
    return withInput(buf, len, flag, [&](const SpiInput& input) {
        const std::vector<std::uint8_t> bytes = reader(input.data(), input.size());
        if (bytes.empty() || bytes.size() > SPI_MAX_ICC_PROFILE_BYTES) {
            return static_cast<int>(SPI_ALL_RIGHT);
        }
        void* block = std::malloc(bytes.size());
        if (block == nullptr) {
            return static_cast<int>(SPI_NO_MEMORY);
        }
        std::memcpy(block, bytes.data(), bytes.size());
        *profile = block;
        *profileLength = static_cast<std::intptr_t>(bytes.size());
        return static_cast<int>(SPI_ALL_RIGHT);
    });
}

std::int32_t runGetPicture(const char* buf, std::intptr_t len, std::uint32_t flag,
                           SpiHandle* pHBInfo, SpiHandle* pHBm, SpiProgressCallback progress,
                           std::intptr_t lData, PictureDecoder decoder) {
    if (pHBInfo == nullptr || pHBm == nullptr) {
        return SPI_OTHER_ERROR;
    }
    *pHBInfo = nullptr;
    *pHBm = nullptr;
    try {
        if (progress != nullptr && progress(0, 1, lData) != 0) {
            return SPI_ABORT;
        }
        SpiInput input;
        if (const int code = input.open(buf, len, flag); code != SPI_ALL_RIGHT) {
            return code;
        }
        SpiDib dib;
        if (const int code = decoder(input.data(), input.size(), dib); code != SPI_ALL_RIGHT) {
            return code;
        }
        if (progress != nullptr && progress(1, 1, lData) != 0) {
            return SPI_ABORT;
        }
        dib.release(pHBInfo, pHBm);
        return SPI_ALL_RIGHT;
    } catch (const std::bad_alloc&) {
        return SPI_NO_MEMORY;
    } catch (...) {
        return SPI_OTHER_ERROR;
    }
}

bool headerStartsWith(const void* header, std::string_view signature) {
    return header != nullptr && std::memcmp(header, signature.data(), signature.size()) == 0;
}

}  // namespace ravinel::spi
