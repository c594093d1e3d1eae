#include "app/settings_location.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ravinel {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::filesystem::path homeFolder() {
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd* entry = getpwuid(getuid())) {
            home = entry->pw_dir;
        }
    }
    return home;
}

std::filesystem::path configHome() {
    // Relative values are to be ignored, as the base directory rules say.
    const std::filesystem::path configured = environment("XDG_CONFIG_HOME");
    if (configured.is_absolute()) {
        return configured;
    }
    return homeFolder() / ".config";
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
    if (::access(folder.c_str(), W_OK) == 0) {
        return executablePath + ".ini";
    }
    const std::filesystem::path configFolder = configHome() / "ravinel";
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
