#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "dib/dib_orientation.h"
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
    // How dib() stands, as its plug-in reports it.
    DibOrientation orientation() const { return orientation_; }
    // The alpha of dib(), stored as dib() is; none when it is opaque.
    const std::optional<NkDib>& alpha() const { return alpha_; }

    SpiProgressHandler onProgress;

  private:
    void load(InSpiAbleData& data);

    const Spis& spis_;
    NkDib dib_;
    DibOrientation orientation_ = DibOrientation::topLeft;
    std::optional<NkDib> alpha_;
};

}  // namespace ravinel
