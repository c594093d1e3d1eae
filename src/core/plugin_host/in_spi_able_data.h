#pragma once

#include <spi_api.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "codec/decode_limits.h"
#include "codec/graphic_load_error.h"
#include "codec/picture_metadata.h"
#include "dib/nk_dib.h"
#include "plugin_host/spi.h"

namespace ravinel {

// Progress of a plug-in decode: the stage, the percentage and the stage's text.
using SpiProgressHandler =
    std::function<void(ProgressStage stage, int percent, const std::string& message)>;

// How the candidates are tried.
struct SpiDecodeOptions {
    bool macBinary = true;        // also offer the data after a 128-byte MacBinary header
    bool graphicPreview = false;  // ask the plug-ins' reduced-picture entry first
    DecodeLimits limits;          // what a picture may cost, told to the plug-ins and checked
};

// The decoding of one picture through plug-ins: offers the data to the candidates in turn
// and keeps the first picture one of them returns. The sources differ in what they hand
// the plug-ins (a file name or the bytes in memory).
class InSpiAbleData {
  public:
    explicit InSpiAbleData(std::string fileName);
    virtual ~InSpiAbleData() = default;
    InSpiAbleData(const InSpiAbleData&) = delete;
    InSpiAbleData& operator=(const InSpiAbleData&) = delete;

    // Tries every candidate at every offset; the picture of the first that decodes, none
    // when no candidate does. A plug-in whose picture does not hold together counts as
    // not having decoded, and so does one that declares a picture the limits refuse: it
    // is not asked for the pixels. When no candidate decodes and one was refused, throws
    // that refusal (PictureTooLargeError).
    std::optional<NkDib> load(const std::vector<const Spi*>& candidates,
                              const SpiDecodeOptions& options);

    // Frame index of the moving picture of the first candidate with frames that accepts the
    // data, as a whole picture of the first frame's size; its metadata() says how long it
    // stays. None when no candidate gives that frame (an index beyond the frames, a frame
    // that does not hold together or is not of the picture's size, a delay beyond
    // SPI_MAX_FRAME_DELAY_MS); throws PictureTooLargeError when the limits refused it.
    std::optional<NkDib> loadFrame(const std::vector<const Spi*>& candidates,
                                   const SpiDecodeOptions& options, int32_t index);

    // The name handed to the plug-ins: a path, or a bare name for data from memory.
    const std::string& fileName() const { return fileName_; }
    // The picture information of the last plug-in asked, valid when infoValid().
    const SpiPictureInfo& pictureInfo() const { return pictureInfo_; }
    bool infoValid() const { return infoValid_; }
    // How the last picture loaded stands and its colour profile, as its plug-in reports
    // them; upright and none when the plug-in does not say.
    const PictureMetadata& metadata() const { return metadata_; }

    SpiProgressHandler onProgress;

  protected:
    // What a plug-in call gets as its buffer, length and input flag.
    struct PluginInput {
        const char* buffer;
        intptr_t length;
        uint32_t flag;
    };

    // Fills the start of header with the first bytes of the data.
    virtual void readHeader(std::span<uint8_t> header) = 0;
    // The input that starts offset bytes into the data; none when the data end before.
    virtual std::optional<PluginInput> inputAt(size_t offset) const = 0;

  private:
    void readMetadata(const Spi::Exports& api, const PluginInput& input);
    std::optional<NkDib> tryCandidate(const Spi& spi, std::span<const uint8_t> header,
                                      size_t offset, const SpiDecodeOptions& options);
    std::optional<NkDib> tryFrame(const Spi& spi, std::span<const uint8_t> header, size_t offset,
                                  const SpiDecodeOptions& options, int32_t index);
    void report(ProgressStage stage, int percent, const std::string& message);
    static int32_t progressCallback(int32_t done, int32_t total, intptr_t state);

    std::string fileName_;
    SpiPictureInfo pictureInfo_{};
    bool infoValid_ = false;
    PictureMetadata metadata_;
    std::optional<PictureTooLargeError> refusal_;
    std::string runningMessage_;
    int lastPercent_ = 0;  // the percentage reported last in the running plug-in call
};

// Data in a file: the plug-ins get the file name and the offset.
class InSpiAbleFromFile : public InSpiAbleData {
  public:
    explicit InSpiAbleFromFile(const std::string& fileName);

  protected:
    void readHeader(std::span<uint8_t> header) override;
    std::optional<PluginInput> inputAt(size_t offset) const override;
};

// Data in memory: the plug-ins get the bytes from the offset on.
class InSpiAbleFromStream : public InSpiAbleData {
  public:
    InSpiAbleFromStream(std::span<const uint8_t> data, const std::string& name);

  protected:
    void readHeader(std::span<uint8_t> header) override;
    std::optional<PluginInput> inputAt(size_t offset) const override;

  private:
    std::span<const uint8_t> data_;
};

}  // namespace ravinel
