#include "codec/shared_spi_host.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace ravinel {
namespace {

// A host that remembers the settings it holds when a load starts, and notices two loads
// running at once.
class RecordingHost : public SpiHost {
  public:
    int pluginCount() const override { return 1; }
    void setGraphicPreview(bool preview) override { preview_ = preview; }
    void setDecodeLimits(const DecodeLimits& limits) override { limits_ = limits; }
    PictureMetadata loadFile(NkDib&, const std::string& name) override { return load(name); }
    PictureMetadata loadFromStreamWithName(NkDib&, std::span<const uint8_t>,
                                           const std::string& name) override {
        return load(name);
    }

    std::atomic<int> overlaps{0};
    std::atomic<int> crossed{0};

  private:
    // A load named "p<side>" (preview) or "f<side>" expects the settings of its thread.
    PictureMetadata load(const std::string& name) {
        if (++inside_ > 1) {
            ++overlaps;
        }
        const bool wantPreview = name[0] == 'p';
        const int wantSide = std::stoi(name.substr(1));
        std::this_thread::yield();  // room for another thread's settings to slip in
        if (preview_ != wantPreview || limits_.maxSide != wantSide) {
            ++crossed;
        }
        --inside_;
        return {};
    }

    std::atomic<int> inside_{0};
    bool preview_ = false;
    DecodeLimits limits_;
};

// Threads with views of one host load one at a time, each with its own settings.
TEST(SharedSpiHost, LoadsOfThreadsNeitherOverlapNorSeeOtherSettings) {
    RecordingHost host;
    std::mutex lock;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            SharedSpiHost view(host, lock);
            const bool preview = t % 2 == 0;
            const int side = 1024 + t;
            view.setGraphicPreview(preview);
            view.setDecodeLimits({side, kDisplayDecodeBytes, nullptr});
            const std::string name = (preview ? "p" : "f") + std::to_string(side);
            NkDib target;
            const uint8_t byte = 0;
            for (int i = 0; i < 500; ++i) {
                view.loadFile(target, name);
                view.loadFromStreamWithName(target, {&byte, 1}, name);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(host.overlaps, 0);
    EXPECT_EQ(host.crossed, 0);
}

}  // namespace
}  // namespace ravinel
