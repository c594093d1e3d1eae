#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace ravinel {

std::filesystem::path homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(getuid())) {
        return entry->pw_dir;
    }
    return {};
}

std::filesystem::path xdgBaseFolder(const char* variable, const char* fallback) {
    const char* configured = std::getenv(variable);
    if (configured != nullptr && configured[0] == '/') {
        return configured;
    }
    return homeFolder() / fallback;
}

}  // namespace ravinel
