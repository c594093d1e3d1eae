#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/spi_host.h"
#include "plugin_host/in_spi_able_data.h"
#include "plugin_host/picture_registry.h"
#include "plugin_host/spi.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spi_search_places.h"

namespace ravinel {

// The Susie plug-in host: finds plug-ins in the search places, keeps them in the order
// they were added, registers the extensions of the picture plug-ins and decodes through
// them. One exists per process at a time, used by one thread at a time: its preview switch
// and the plug-ins, which need not be reentrant, serve every call.
class Spis : public SpiHost {
  public:
    // Accept or reject a loaded plug-in.
    using SearchEvent = std::function<void(const Spi& spi, bool& accept)>;
    // Accept or reject a plug-in's path before it is loaded.
    using SearchingEvent = std::function<void(const std::string& fileName, bool& accept)>;
    // Change the decoder registered for an extension (for this and the following masks of
    // one filter entry), or suppress it with none.
    using PictureRegisterEvent =
        std::function<void(const Spi& spi, const std::string& extension,
                           const std::string& description, std::optional<PictureDecoder>& decoder)>;

    // Throws SpiDupCreateSpisError while another host exists.
    Spis();
    ~Spis() override;
    Spis(const Spis&) = delete;
    Spis& operator=(const Spis&) = delete;

    // Loads the plug-ins that match mask: in mask's folder when it has one, otherwise in
    // each search place of searchOptions. Paths of plug-ins already loaded are skipped; a
    // file that cannot be loaded, is not trusted or lacks an export its kind requires is
    // told to onLoadError and passed over.
    void search(const std::string& mask);

    int count() const { return static_cast<int>(items_.size()); }
    // Throws std::out_of_range for an index outside the list.
    const Spi& item(int index) const;
    void add(std::unique_ptr<Spi> spi);
    void insert(int index, std::unique_ptr<Spi> spi);
    void remove(int index);
    void clear();
    // The index of the plug-in loaded from fileName (compared ignoring case); -1 if none.
    int indexOfFileName(const std::string& fileName) const;

    // The plug-ins of one kind, those whose masks claim fileName's extension first (the
    // last added of them first), then the others in list order.
    std::vector<const Spi*> getSpis(SpiKind kind, const std::string& fileName) const;

    const PictureRegistry& pictures() const { return pictures_; }
    SpiDecodeOptions decodeOptions() const { return {macBinary, graphicPreview, decodeLimits}; }

    // SpiHost
    int pluginCount() const override { return count(); }
    void setGraphicPreview(bool preview) override { graphicPreview = preview; }
    void setDecodeLimits(const DecodeLimits& limits) override { decodeLimits = limits; }
    // Throws InvalidGraphicError for an extension without a decoder, and the decoder's
    // failure otherwise.
    PictureMetadata loadFile(NkDib& target, const std::string& fileName) override;
    PictureMetadata loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                           const std::string& name) override;
    // Throws InvalidGraphicError when no plug-in gives the frame.
    PictureMetadata loadFrame(NkDib& target, const std::string& fileName, int32_t index) override;

    // Told of each plug-in file that was passed over; the search goes on.
    std::function<void(const SpiError& error)> onLoadError;

    bool macBinary = true;
    bool graphicPreview = false;
    DecodeLimits decodeLimits;
    uint8_t searchOptions = spsSusieDir | spsAppDir;
    SearchEvent onSearch;
    SearchingEvent onSearching;
    PictureRegisterEvent onPictureRegister;

  private:
    void searchFolder(const std::string& folder, const std::string& pattern);
    void registerPictures(const Spi& spi);

    std::vector<std::unique_ptr<Spi>> items_;
    PictureRegistry pictures_;
};

}  // namespace ravinel
