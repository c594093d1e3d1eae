#include "codec/shared_spi_host.h"

namespace ravinel {

int SharedSpiHost::pluginCount() const {
    const std::lock_guard hold(lock_);
    return host_.pluginCount();
}

void SharedSpiHost::applySettings() {
    host_.setGraphicPreview(preview_);
    host_.setDecodeLimits(limits_);
}

PictureMetadata SharedSpiHost::loadFile(NkDib& target, const std::string& fileName) {
    const std::lock_guard hold(lock_);
    applySettings();
    return host_.loadFile(target, fileName);
}

PictureMetadata SharedSpiHost::loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                                      const std::string& name) {
    const std::lock_guard hold(lock_);
    applySettings();
    return host_.loadFromStreamWithName(target, data, name);
}

PictureMetadata SharedSpiHost::loadFrame(NkDib& target, const std::string& fileName,
                                         int32_t index) {
    const std::lock_guard hold(lock_);
    applySettings();
    return host_.loadFrame(target, fileName, index);
}

}  // namespace ravinel
