#include "plugin_host/spi_bitmap.h"

#include <exception>
#include <functional>
#include <optional>

#include "codec/builtin_decoders.h"
#include "codec/graphic_load_error.h"
#include "platform/file_bytes.h"
#include "platform/file_extension.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spi_graphic.h"
#include "plugin_host/spis.h"

namespace ravinel {

namespace {

// Files larger than a pixel store can hold are no BMP we could read.
constexpr uint64_t kMaxBmpFileBytes = uint64_t{1} << 30;

}  // namespace

SpiBitmap::SpiBitmap(const Spis& spis) : spis_(spis) {}

NkDib SpiBitmap::loadFromFile(const std::string& fileName) {
    return load(
        fileName,
        [&] {
            return decodeBuiltin(GraphicKind::gkBmp, readFileBytes(fileName, kMaxBmpFileBytes),
                                 fileName, spis_.decodeLimits);
        },
        [&](SpiGraphic& graphic) { graphic.loadFromFile(fileName); });
}

NkDib SpiBitmap::loadFromStreamWithName(std::span<const uint8_t> data,
                                        const std::string& fileName) {
    return load(
        fileName,
        [&] { return decodeBuiltin(GraphicKind::gkBmp, data, fileName, spis_.decodeLimits); },
        [&](SpiGraphic& graphic) { graphic.loadFromStreamWithName(data, fileName); });
}

template <typename ReadPlain, typename ReadByPlugins>
NkDib SpiBitmap::load(const std::string& fileName, ReadPlain&& readPlain,
                      ReadByPlugins&& readByPlugins) {
    auto byPlugins = [&]() -> NkDib {
        SpiGraphic graphic(spis_);
        graphic.onProgress = [this](ProgressStage stage, int percent, const std::string& text) {
            if (stage != ProgressStage::Ending && onProgress) {
                onProgress(stage, percent, text);
            }
        };
        readByPlugins(graphic);
        metadata_ = graphic.metadata();
        return graphic.dib();
    };
    metadata_ = {};
    const bool isBmp = upperExtension(fileName) == ".BMP";
    const std::function<NkDib()> order[2] = {isBmp ? std::function<NkDib()>(readPlain) : byPlugins,
                                             isBmp ? byPlugins : std::function<NkDib()>(readPlain)};
    std::optional<NkDib> picture;
    std::optional<PictureTooLargeError> refusal;
    for (const auto& read : order) {
        try {
            picture = read();
            break;
        } catch (const PictureTooLargeError& tooLarge) {
            refusal = tooLarge;
        } catch (const std::exception&) {
            // The other reader may still take it.
        }
    }
    if (!picture && refusal) {
        throw *refusal;
    }
    if (!picture) {
        throw InvalidGraphicError("Susie Plugins could not decode");
    }
    if (onProgress) {
        onProgress(ProgressStage::Ending, 100, "Loaded Graphic");
    }
    return std::move(*picture);
}

}  // namespace ravinel
