#include "platform/trusted_path.h"

#include <dlfcn.h>
#include <grp.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>

namespace ravinel {

namespace {

// Looks an entry of the user or group database up, growing the buffer as it asks.
template <typename Entry, typename Key, typename Lookup>
bool lookUp(Lookup lookup, Key key, Entry& entry, std::vector<char>& buffer) {
    constexpr size_t kLargestBuffer = size_t{1} << 20;
    buffer.resize(4096);
    for (;;) {
        Entry* found = nullptr;
        const int error = lookup(key, &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < kLargestBuffer) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        return error == 0 && found != nullptr;
    }
}

std::optional<gid_t> findPrivateGroup() {
    passwd user{};
    std::vector<char> userBuffer;
    if (!lookUp(getpwuid_r, geteuid(), user, userBuffer)) {
        return std::nullopt;
    }
    group primary{};
    std::vector<char> groupBuffer;
    if (!lookUp(getgrgid_r, user.pw_gid, primary, groupBuffer) ||
        std::strcmp(primary.gr_name, user.pw_name) != 0) {
        return std::nullopt;
    }
    for (char** member = primary.gr_mem; *member != nullptr; ++member) {
        if (std::strcmp(*member, user.pw_name) != 0) {
            return std::nullopt;
        }
    }
    return user.pw_gid;
}

bool isPrivateGroup(gid_t gid) {
    static const std::optional<gid_t> privateGroup = findPrivateGroup();
    return privateGroup == gid;
}

std::string realPathOf(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        const int error = errno;
        throw ModuleLoadError(
            error == ENOENT ? ModuleLoadError::Cause::missing : ModuleLoadError::Cause::unloadable,
            path + ": " + std::strerror(error));
    }
    std::string real(resolved);
    free(resolved);
    return real;
}

// Why the file at realPath (absolute, without links) or a folder above it is open to
// other users; empty when none is.
std::string distrustOfCodeAt(const std::string& realPath) {
    struct stat status {};
    if (lstat(realPath.c_str(), &status) != 0) {
        return realPath + ": " + std::strerror(errno);
    }
    if (!S_ISREG(status.st_mode)) {
        return realPath + " is not a regular file";
    }
    if (std::string why = distrustOf(realPath, status, TrustedOwner::rootOrUser); !why.empty()) {
        return why;
    }
    bool above = false;
    for (size_t slash = realPath.rfind('/'); slash != std::string::npos;
         slash = slash == 0 ? std::string::npos : realPath.rfind('/', slash - 1)) {
        const std::string folder = slash == 0 ? "/" : realPath.substr(0, slash);
        if (lstat(folder.c_str(), &status) != 0) {
            return folder + ": " + std::strerror(errno);
        }
        if (!S_ISDIR(status.st_mode)) {
            return folder + " is not a folder";
        }
        // In a sticky folder only an entry's owner may rename or remove it.
        if (above && (status.st_mode & S_ISVTX)) {
            status.st_mode &= ~(S_IWGRP | S_IWOTH);
        }
        if (std::string why = distrustOf(folder, status, TrustedOwner::rootOrUser); !why.empty()) {
            return why;
        }
        above = true;
    }
    return {};
}

}  // namespace

std::string distrustOf(const std::string& path, const struct stat& status, TrustedOwner owner) {
    const bool ownerTrusted =
        status.st_uid == geteuid() || (owner == TrustedOwner::rootOrUser && status.st_uid == 0);
    if (!ownerTrusted) {
        return path + " is owned by user " + std::to_string(status.st_uid);
    }
    if (status.st_mode & S_IWOTH) {
        return path + " is writable by others";
    }
    if ((status.st_mode & S_IWGRP) && !isPrivateGroup(status.st_gid)) {
        return path + " is writable by group " + std::to_string(status.st_gid);
    }
    return {};
}

LoadedModule loadTrustedModule(const std::string& path) {
    LoadedModule module;
    module.realPath = realPathOf(path);
    // Every folder on the way is the user's or root's, so what was checked stays what is
    // loaded: nobody else can swap the file in between.
    if (const std::string why = distrustOfCodeAt(module.realPath); !why.empty()) {
        throw ModuleLoadError(ModuleLoadError::Cause::untrusted, "not trusted: " + why);
    }
    module.handle = dlopen(module.realPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module.handle == nullptr) {
        const char* reason = dlerror();
        throw ModuleLoadError(ModuleLoadError::Cause::unloadable, reason != nullptr ? reason : "");
    }
    return module;
}

}  // namespace ravinel
