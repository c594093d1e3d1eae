#pragma once

#include <cstdint>
#include <optional>

namespace ravinel {

// Tells single clicks on the tray icon from double clicks: a click counts only when the
// double-click time has passed without a double click. Times are milliseconds of any
// steady clock, handed in by the caller.
class TrayClickFilter {
  public:
    // A click. Starts the wait unless one is already running, in which case the two
    // clicks count as one.
    void click(int64_t nowMs, int64_t doubleClickIntervalMs);
    // A double click: the click waiting for it is dropped.
    void doubleClick();
    // Whether a waiting click has become due; a due click is reported once.
    bool takeDueClick(int64_t nowMs);
    // When the waiting click becomes due; empty when none waits.
    std::optional<int64_t> dueAt() const { return dueAt_; }

  private:
    std::optional<int64_t> dueAt_;
};

}  // namespace ravinel
