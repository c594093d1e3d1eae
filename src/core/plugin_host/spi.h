#pragma once

#include <spi_api.h>

#include <memory>
#include <string>
#include <vector>

namespace ravinel {

// What a plug-in is, from the API version it reports: "00IN" picture input, "00AM"
// archive, "00XN" (listed only), anything else a plain plug-in.
enum class SpiKind { spi, inSpi, amSpi, xnSpi };

// One loaded plug-in shared object: its exports and the information it reports.
class Spi {
  public:
    // Loads the plug-in at path (see loadTrustedModule), reads its information and chooses
    // its kind. Throws SpiFOpenErrorSpiError when the object is missing, not trusted or
    // cannot be loaded, and SpiInvalidApiError when GetPluginInfo or an export that the
    // kind requires is missing.
    static std::unique_ptr<Spi> load(const std::string& path);
    ~Spi();
    Spi(const Spi&) = delete;
    Spi& operator=(const Spi&) = delete;

    SpiKind kind() const { return kind_; }
    // Decodes pictures: the picture input kind only.
    bool isInSpi() const { return kind_ == SpiKind::inSpi; }
    // The loaded object's full path, links resolved.
    const std::string& fileName() const { return fileName_; }
    const std::string& apiVersion() const { return apiVersion_; }
    const std::string& pluginName() const { return pluginName_; }
    // File masks ("*.png", or several joined by ";") and the description of each.
    const std::vector<std::string>& filters() const { return filters_; }
    const std::vector<std::string>& descriptions() const { return descriptions_; }

    // The exports; null where the object lacks one.
    struct Exports {
        decltype(&::GetPluginInfo) getPluginInfo = nullptr;
        decltype(&::IsSupported) isSupported = nullptr;
        decltype(&::GetPictureInfo) getPictureInfo = nullptr;
        decltype(&::GetPicture) getPicture = nullptr;
        decltype(&::GetPreview) getPreview = nullptr;
        decltype(&::GetArchiveInfo) getArchiveInfo = nullptr;
        decltype(&::GetFileInfo) getFileInfo = nullptr;
        decltype(&::GetFile) getFile = nullptr;
        decltype(&::ConfigurationDlg) configurationDlg = nullptr;
        decltype(&::SetDecodeLimits) setDecodeLimits = nullptr;
        decltype(&::GetPictureOrientation) getPictureOrientation = nullptr;
        decltype(&::GetPictureIccProfile) getPictureIccProfile = nullptr;
        decltype(&::GetPictureFrameCount) getPictureFrameCount = nullptr;
        decltype(&::GetPictureFrame) getPictureFrame = nullptr;
        decltype(&::GetPictureFrameDelay) getPictureFrameDelay = nullptr;
        // The frame entries count only all together.
        bool hasFrames() const {
            return getPictureFrameCount != nullptr && getPictureFrame != nullptr &&
                   getPictureFrameDelay != nullptr;
        }
    };
    const Exports& exports() const { return exports_; }

  private:
    Spi(void* handle, std::string fileName);

    void resolveExports();
    // Raises SpiInvalidApiError for the first export the kind requires that is missing.
    void checkApi() const;
    void readPluginInfo();
    // Entry number of GetPluginInfo; empty when it reports nothing (length below 1).
    bool readInfoEntry(int32_t number, std::string& text) const;

    void* handle_;
    std::string fileName_;
    SpiKind kind_ = SpiKind::spi;
    std::string apiVersion_;
    std::string pluginName_;
    std::vector<std::string> filters_;
    std::vector<std::string> descriptions_;
    Exports exports_;
};

}  // namespace ravinel
