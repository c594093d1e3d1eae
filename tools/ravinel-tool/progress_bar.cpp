#include "progress_bar.h"

#include <cstdio>
#include <string>

namespace ravinel::tool {

namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

}  // namespace

ProgressBar::ProgressBar(int total) : total_(total), start_(std::chrono::steady_clock::now()) {}

void ProgressBar::update(int done) {
    const auto now = std::chrono::steady_clock::now();
    if (done < total_ && now - lastDrawn_ < kRedrawEvery) {
        return;
    }
    lastDrawn_ = now;
    draw(done);
}

void ProgressBar::clear() {
    std::fprintf(stderr, "\r\033[K");
    lastDrawn_ = {};
}

void ProgressBar::draw(int done) {
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    const double rate = seconds > 0 ? done / seconds : 0;
    const int filled = total_ > 0 ? kBarWidth * done / total_ : kBarWidth;
    const std::string bar = std::string(static_cast<size_t>(filled), '#') +
                            std::string(static_cast<size_t>(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %d/%d  %.1f files/s", bar.c_str(), done, total_, rate);
    if (rate > 0 && done < total_) {
        const int left = static_cast<int>((total_ - done) / rate + 0.5);
        std::fprintf(stderr, "  %d:%02d left", left / 60, left % 60);
    }
    std::fprintf(stderr, "\033[K");
    std::fflush(stderr);
}

}  // namespace ravinel::tool
