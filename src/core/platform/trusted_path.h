#pragma once

#include <sys/stat.h>

#include <stdexcept>
#include <string>

namespace ravinel {

// Who may own a file or folder the program trusts.
enum class TrustedOwner { user, rootOrUser };

// Why the file or folder at path, with this status, is open to other users, or empty when
// it is not: another owner, write access for others, or write access for a group other
// than the user's own private group (the user's primary group, named after the user and
// without other members, as desktop systems give each user).
std::string distrustOf(const std::string& path, const struct stat& status, TrustedOwner owner);

// A module that was not loaded as code.
class ModuleLoadError : public std::runtime_error {
  public:
    enum class Cause { missing, untrusted, unloadable };
    ModuleLoadError(Cause cause, const std::string& reason)
        : std::runtime_error(reason), cause_(cause) {}
    Cause cause() const { return cause_; }

  private:
    Cause cause_;
};

struct LoadedModule {
    void* handle = nullptr;
    std::string realPath;  // links resolved
};

// Loads the shared object at path (dlopen, every symbol bound now, kept local) when no
// other user can have put it there: the file, links followed, is a regular file; it, its
// folder and every folder above are owned by root or the user and not writable by group
// or others, except that a folder above may be writable by all when it is sticky (/tmp),
// since others can then neither rename nor replace what the user keeps there. Throws
// ModuleLoadError otherwise.
LoadedModule loadTrustedModule(const std::string& path);

}  // namespace ravinel
