#pragma once

#include <string>
#include <string_view>

namespace ravinel {

// The folder of the user's lock files and sockets, or why there is none.
struct RuntimeFolder {
    std::string path;     // empty when no safe folder was found
    std::string problem;  // why, when path is empty
};

// The user's runtime folder for a socket named socketName: $XDG_RUNTIME_DIR when it is
// safe, else $XDG_STATE_HOME/ravinel (default ~/.local/state/ravinel), made when missing.
// Safe means a folder, not a link, owned by the user with mode 0700, whose socket path
// fits a local socket address. A folder that fails is neither used nor repaired: another
// user who made it may already listen or hold files there.
RuntimeFolder findRuntimeFolder(std::string_view socketName);

}  // namespace ravinel
