#pragma once

#include <sys/types.h>

#include <string>

namespace ravinel::testing {

// An X server of the test's own: Xvfb on a display number it picks itself, ended with
// the object.
class XServer {
  public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // ":N", or empty when Xvfb could not be started (not installed).
    const std::string& display() const { return display_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace ravinel::testing
