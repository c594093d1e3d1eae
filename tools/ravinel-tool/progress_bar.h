#pragma once

#include <chrono>

namespace ravinel::tool {

// A one-line progress bar on standard error for a batch of known size: the bar, the count,
// the rate and the time left. One thread reports as items finish; the line is redrawn at
// most ten times a second.
class ProgressBar {
  public:
    explicit ProgressBar(int total);

    void update(int done);
    // Wipes the line, so that a message or the summary starts on a clean line; the next
    // update draws it again.
    void clear();

  private:
    void draw(int done);

    int total_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

}  // namespace ravinel::tool
