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

// A job waits for the host holding no share of the budget: the load that holds the host
// may be waiting for memory. Nothing the share stood for is left: the plug-ins are tried
// only when no picture was loaded.
void SharedSpiHost::giveBackJobShare() {
    if (limits_.jobShare != nullptr) {
        *limits_.jobShare = MemoryBudget::Reservation();
    }
}

PictureMetadata SharedSpiHost::loadFile(NkDib& target, const std::string& fileName) {
    giveBackJobShare();
    const std::lock_guard hold(lock_);
    applySettings();
    return host_.loadFile(target, fileName);
}

PictureMetadata SharedSpiHost::loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                                      const std::string& name) {
    giveBackJobShare();
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
