#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "codec/picture_metadata.h"
#include "dib/nk_dib.h"
#include "plugin_host/in_spi_able_data.h"

namespace ravinel {

class Spis;

// The decoder registered for plug-in extensions: the plug-ins, with the plain BMP reading
// as the other choice (tried first for a name ending in ".bmp").
class SpiBitmap {
  public:
    explicit SpiBitmap(const Spis& spis);

    // Throw InvalidGraphicError "Susie Plugins could not decode" when neither reads it.
    NkDib loadFromFile(const std::string& fileName);
    NkDib loadFromStreamWithName(std::span<const uint8_t> data, const std::string& fileName);
    // How the picture of the last load stands and its colour profile: as its plug-in
    // reports them, upright and none for a plain BMP.
    const PictureMetadata& metadata() const { return metadata_; }

    // Gets every stage of the plug-in decode but its end, then the end of this load.
    SpiProgressHandler onProgress;

  private:
    template <typename ReadPlain, typename ReadByPlugins>
    NkDib load(const std::string& fileName, ReadPlain&& readPlain, ReadByPlugins&& readByPlugins);

    const Spis& spis_;
    PictureMetadata metadata_;
};

}  // namespace ravinel
