#include "viewer/frame_player.h"

#include <exception>

#include "codec/decode_limits.h"
#include "codec/graphic_loader.h"

namespace ravinel {

FramePlayer::FramePlayer(GraphicLoader& loader, std::function<void(const NkDib&)> show)
    : loader_(loader), show_(std::move(show)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { advance(); });
}

int32_t FramePlayer::shownDelay(int32_t delayMs) {
    return delayMs < kShortestDelayMs ? kShortDelayShownMs : delayMs;
}

void FramePlayer::start(const std::string& fileName, int32_t frameCount, const GProcess& process,
                        bool play) {
    stop();
    if (frameCount < 2) {
        return;
    }
    fileName_ = fileName;
    process_.settings = process.settings;
    process_.loadInfo = process.loadInfo;
    process_.destWidth = process.destWidth;
    process_.destHeight = process.destHeight;
    frameCount_ = frameCount;
    kept_.assign(static_cast<size_t>(frameCount), std::nullopt);
    // Frame 0 is the picture as the window made it, with the delay the load gave.
    const int32_t delay = process.loadInfo.firstDelayMs;
    shown_ = process.dest;
    first_ = MadeFrame{process.dest, delay};
    timer_.setInterval(shownDelay(delay));
    if (play) {
        timer_.start();
    }
}

void FramePlayer::stop() {
    timer_.stop();
    frameCount_ = 0;
    frame_ = 0;
    kept_.clear();
    keptBytes_ = 0;
    first_ = MadeFrame{};
    shown_ = NkDib();
    process_.source = NkDib();
    process_.dest = NkDib();
}

void FramePlayer::setPlaying(bool play) {
    if (!animated()) {
        return;
    }
    if (play) {
        timer_.start();
    } else {
        timer_.stop();
    }
}

void FramePlayer::advance() {
    if (!animated()) {
        return;
    }
    int32_t next = frame_ + 1 < frameCount_ ? frame_ + 1 : 0;
    std::optional<MadeFrame> frame = made(next);
    if (!frame) {
        // A frame that cannot be had ends the animation before it; what played loops.
        frameCount_ = next;
        kept_.resize(static_cast<size_t>(next));
        if (frameCount_ < 2) {
            timer_.stop();
            return;
        }
        next = 0;
        frame = made(next);
    }
    frame_ = next;
    shown_ = frame->picture;
    show_(shown_);
    timer_.start(shownDelay(frame->delayMs));
}

std::optional<FramePlayer::MadeFrame> FramePlayer::made(int32_t index) {
    if (index == 0) {
        return first_;
    }
    if (std::optional<MadeFrame>& kept = kept_[static_cast<size_t>(index)]) {
        return kept;
    }
    try {
        MadeFrame frame;
        frame.delayMs = loader_.loadFrame(process_.source, fileName_, index);
        process_.execute();
        frame.picture = process_.dest;
        process_.source = NkDib();
        keep(index, frame);
        return frame;
    } catch (const std::exception&) {
        process_.source = NkDib();
        return std::nullopt;
    }
}

void FramePlayer::keep(int32_t index, const MadeFrame& frame) {
    const uint64_t bytes =
        pixelStoreBytes(frame.picture.width(), frame.picture.height(), frame.picture.bitCount());
    if (keptBytes_ + bytes > kKeptFrameBytes) {
        return;
    }
    keptBytes_ += bytes;
    kept_[static_cast<size_t>(index)] = frame;
}

}  // namespace ravinel
