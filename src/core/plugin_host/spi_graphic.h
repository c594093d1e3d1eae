#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "codec/picture_metadata.h"
#include "dib/nk_dib.h"
#include "plugin_host/in_spi_able_data.h"

namespace ravinel {

class Spis;

// A picture decoded by the host's picture plug-ins, the best candidates first.
class SpiGraphic {
  public:
    explicit SpiGraphic(const Spis& spis);

    // Throw InvalidGraphicError "Susie Plugins could not decode" when no plug-in decodes
    // the data.
    void loadFromFile(const std::string& fileName);
    void loadFromStreamWithName(std::span<const uint8_t> data, const std::string& name);

    const NkDib& dib() const { return dib_; }
    // How dib() stands and its colour profile, as its plug-in reports them.
    const PictureMetadata& metadata() const { return metadata_; }

    SpiProgressHandler onProgress;

  private:
    void load(InSpiAbleData& data);

    const Spis& spis_;
    NkDib dib_;
    PictureMetadata metadata_;
};

}  // namespace ravinel
