#include "settings/settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/trusted_path.h"
#include "platform/user_folders.h"

namespace ravinel {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

std::string settingsFilePath(const std::string& executablePath) {
    if (std::string overridden = environment("RAVINEL_INI"); !overridden.empty()) {
        return overridden;
    }
    std::string folder = std::filesystem::path(executablePath).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    // Beside the program only in a folder nobody else can write: there a planted link or
    // file would have the user's next save overwrite something of theirs.
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        distrustOf(folder, status, TrustedOwner::user).empty() &&
        ::access(folder.c_str(), W_OK) == 0) {
        return executablePath + ".ini";
    }
    const std::filesystem::path configFolder =
        xdgBaseFolder("XDG_CONFIG_HOME", ".config") / "ravinel";
    std::error_code ignored;  // a folder that cannot be made fails the save with a message
    std::filesystem::create_directories(configFolder, ignored);
    return (configFolder / "ravinel.ini").string();
}

std::string currentExecutablePath() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("ravinel") : path.string();
}

}  // namespace ravinel
