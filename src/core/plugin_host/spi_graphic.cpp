#include "plugin_host/spi_graphic.h"

#include "plugin_host/spi_error.h"
#include "plugin_host/spis.h"

namespace ravinel {

SpiGraphic::SpiGraphic(const Spis& spis) : spis_(spis) {}

void SpiGraphic::loadFromFile(const std::string& fileName) {
    InSpiAbleFromFile data(fileName);
    load(data);
}

void SpiGraphic::loadFromStreamWithName(std::span<const uint8_t> bytes, const std::string& name) {
    InSpiAbleFromStream data(bytes, name);
    load(data);
}

void SpiGraphic::load(InSpiAbleData& data) {
    data.onProgress = onProgress;
    std::optional<NkDib> picture =
        data.load(spis_.getSpis(SpiKind::inSpi, data.fileName()), spis_.decodeOptions());
    if (!picture) {
        throw InvalidGraphicError("Susie Plugins could not decode");
    }
    dib_ = std::move(*picture);
    metadata_ = data.metadata();
}

}  // namespace ravinel
