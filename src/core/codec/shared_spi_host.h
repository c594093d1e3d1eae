#pragma once

#include <mutex>

#include "codec/spi_host.h"

namespace ravinel {

// One thread's view of a plug-in host that several threads share (the host is one per
// process and keeps the state of a load). The view keeps the settings of its loads and
// hands them to the host with each load, under one lock, so that loads of different
// threads run one at a time and never see each other's settings. Each thread makes its
// own view over the same host and lock.
class SharedSpiHost : public SpiHost {
  public:
    SharedSpiHost(SpiHost& host, std::mutex& lock) : host_(host), lock_(lock) {}

    int pluginCount() const override;
    void setGraphicPreview(bool preview) override { preview_ = preview; }
    void setDecodeLimits(const DecodeLimits& limits) override { limits_ = limits; }
    PictureMetadata loadFile(NkDib& target, const std::string& fileName) override;
    PictureMetadata loadFromStreamWithName(NkDib& target, std::span<const uint8_t> data,
                                           const std::string& name) override;
    PictureMetadata loadFrame(NkDib& target, const std::string& fileName, int32_t index) override;

  private:
    void applySettings();
    void giveBackJobShare();

    SpiHost& host_;
    std::mutex& lock_;
    bool preview_ = false;
    DecodeLimits limits_;
};

}  // namespace ravinel
