#include "platform/runtime_folder.h"

#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/user_folders.h"

namespace ravinel {

namespace {

constexpr size_t kLongestSocketPath = sizeof(sockaddr_un::sun_path) - 1;

std::string octal(mode_t mode) {
    char text[8];
    std::snprintf(text, sizeof(text), "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

// Why folder is no safe place for the socket; empty when it is.
std::string unsafeBecause(const std::string& folder, std::string_view socketName) {
    if (folder.size() + 1 + socketName.size() > kLongestSocketPath) {
        return folder + " is too long a path for a local socket";
    }
    struct stat status {};
    if (::lstat(folder.c_str(), &status) != 0) {
        return folder + ": " + std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode)) {
        return folder + " is not a folder";
    }
    if (status.st_uid != ::geteuid()) {
        return folder + " is owned by user " + std::to_string(status.st_uid);
    }
    if ((status.st_mode & 07777) != 0700) {
        return folder + " has mode " + octal(status.st_mode) + ", not 0700";
    }
    return {};
}

// Makes the missing folders of path, each private to the user as the base folder rules
// ask; existing ones are left as they are.
void makePrivateFolders(const std::filesystem::path& path) {
    std::filesystem::path prefix;
    for (const std::filesystem::path& part : path) {
        prefix /= part;
        ::mkdir(prefix.c_str(), 0700);
    }
}

}  // namespace

RuntimeFolder findRuntimeFolder(std::string_view socketName) {
    std::string problems;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::string why = unsafeBecause(runtime, socketName);
        if (why.empty()) {
            return {runtime, {}};
        }
        problems = why + "; ";
    }
    const std::filesystem::path own = xdgBaseFolder("XDG_STATE_HOME", ".local/state") / "ravinel";
    if (!own.is_absolute()) {
        return {{}, problems + "no home folder"};
    }
    makePrivateFolders(own);
    std::string why = unsafeBecause(own.string(), socketName);
    if (why.empty()) {
        return {own.string(), {}};
    }
    return {{}, problems + why};
}

}  // namespace ravinel
