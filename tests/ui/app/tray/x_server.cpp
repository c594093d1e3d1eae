#include "tests/ui/app/tray/x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace ravinel::testing {

namespace {

// Xvfb needs well under a second; the bound only keeps a broken start from hanging.
constexpr int kStartTimeoutMs = 20000;

}  // namespace

XServer::XServer() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    pid_ = ::fork();
    if (pid_ == 0) {
        // Xvfb writes the display number it chose to this descriptor, kept open past exec.
        const int out = ::dup(fds[1]);
        const std::string fd = std::to_string(out);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (pid_ > 0 && ::poll(&wait, 1, kStartTimeoutMs) == 1 && ::read(fds[0], &c, 1) == 1 &&
           c != '\n') {
        number += c;
    }
    ::close(fds[0]);
    if (!number.empty()) {
        display_ = ":" + number;
    }
}

XServer::~XServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace ravinel::testing
