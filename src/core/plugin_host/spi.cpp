#include "plugin_host/spi.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstring>

#include "platform/trusted_path.h"
#include "plugin_host/spi_error.h"

namespace ravinel {

namespace {

// GetPluginInfo writes into a 256-byte buffer and is told 255.
constexpr int32_t kInfoBufferBytes = 256;
constexpr int32_t kInfoBufferLength = 255;
// A plug-in that never stops reporting masks would keep the host reading forever.
constexpr int32_t kMaxInfoEntries = 2 * 1024;

template <typename Function>
void bind(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
}

}  // namespace

std::unique_ptr<Spi> Spi::load(const std::string& path) {
    LoadedModule module;
    try {
        module = loadTrustedModule(path);
    } catch (const ModuleLoadError& e) {
        throw SpiFOpenErrorSpiError(path, e.what());
    }
    std::unique_ptr<Spi> spi(new Spi(module.handle, module.realPath));
    spi->resolveExports();
    spi->checkApi();
    spi->readPluginInfo();
    if (spi->apiVersion_ == "00IN") {
        spi->kind_ = SpiKind::inSpi;
    } else if (spi->apiVersion_ == "00AM") {
        spi->kind_ = SpiKind::amSpi;
    } else if (spi->apiVersion_ == "00XN") {
        spi->kind_ = SpiKind::xnSpi;
    }
    spi->checkApi();
    return spi;
}

Spi::Spi(void* handle, std::string fileName) : handle_(handle), fileName_(std::move(fileName)) {}

Spi::~Spi() {
    dlclose(handle_);
}

void Spi::resolveExports() {
    bind(handle_, "GetPluginInfo", exports_.getPluginInfo);
    bind(handle_, "IsSupported", exports_.isSupported);
    bind(handle_, "GetPictureInfo", exports_.getPictureInfo);
    bind(handle_, "GetPicture", exports_.getPicture);
    bind(handle_, "GetPreview", exports_.getPreview);
    bind(handle_, "GetArchiveInfo", exports_.getArchiveInfo);
    bind(handle_, "GetFileInfo", exports_.getFileInfo);
    bind(handle_, "GetFile", exports_.getFile);
    bind(handle_, "ConfigurationDlg", exports_.configurationDlg);
    bind(handle_, "SetDecodeLimits", exports_.setDecodeLimits);
    bind(handle_, "GetPictureOrientation", exports_.getPictureOrientation);
    bind(handle_, "GetPictureIccProfile", exports_.getPictureIccProfile);
    bind(handle_, "GetPictureFrameCount", exports_.getPictureFrameCount);
    bind(handle_, "GetPictureFrame", exports_.getPictureFrame);
    bind(handle_, "GetPictureFrameDelay", exports_.getPictureFrameDelay);
}

void Spi::checkApi() const {
    auto require = [this](const void* function, const char* name) {
        if (function == nullptr) {
            throw SpiInvalidApiError(name, fileName_);
        }
    };
    require(reinterpret_cast<const void*>(exports_.getPluginInfo), "GetPluginInfo");
    if (kind_ == SpiKind::inSpi || kind_ == SpiKind::amSpi) {
        require(reinterpret_cast<const void*>(exports_.isSupported), "IsSupported");
    }
    if (kind_ == SpiKind::inSpi) {
        require(reinterpret_cast<const void*>(exports_.getPictureInfo), "GetPictureInfo");
        require(reinterpret_cast<const void*>(exports_.getPicture), "GetPicture");
    }
    if (kind_ == SpiKind::amSpi) {
        require(reinterpret_cast<const void*>(exports_.getArchiveInfo), "GetArchiveInfo");
        require(reinterpret_cast<const void*>(exports_.getFileInfo), "GetFileInfo");
        require(reinterpret_cast<const void*>(exports_.getFile), "GetFile");
    }
}

bool Spi::readInfoEntry(int32_t number, std::string& text) const {
    char buffer[kInfoBufferBytes] = {};
    const int32_t length = exports_.getPluginInfo(number, buffer, kInfoBufferLength);
    if (length < 1) {
        return false;
    }
    // Trust neither the reported length nor the terminating NUL beyond the buffer.
    buffer[kInfoBufferBytes - 1] = '\0';
    const size_t written = strnlen(buffer, kInfoBufferLength);
    text.assign(buffer, std::min(written, static_cast<size_t>(length)));
    return true;
}

void Spi::readPluginInfo() {
    std::string text;
    if (readInfoEntry(0, text)) {
        apiVersion_ = text;
    }
    if (readInfoEntry(1, text)) {
        pluginName_ = text;
    }
    std::string description;
    for (int32_t entry = 2; entry < kMaxInfoEntries; entry += 2) {
        if (!readInfoEntry(entry, text) || !readInfoEntry(entry + 1, description)) {
            break;
        }
        filters_.push_back(text);
        descriptions_.push_back(description);
    }
}

}  // namespace ravinel
