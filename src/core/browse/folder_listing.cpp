#include "browse/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

namespace ravinel {

namespace {

struct DirCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

// Most file systems tell the entry's type in the listing; only links and unknown types
// cost a status call.
bool entryIsListableFolder(int dirFd, const dirent& entry) {
    switch (entry.d_type) {
        case DT_DIR:
            return !isDotOrDotDot(entry.d_name);
        case DT_LNK:
        case DT_UNKNOWN:
            return isListableFolder(dirFd, entry.d_name);
        default:
            return false;
    }
}

// Calls visit with every listable folder name of path until it returns false.
template <typename Visit>
void forEachSubfolder(const std::string& path, Visit visit) {
    const std::unique_ptr<DIR, DirCloser> stream(opendir(path.c_str()));
    if (!stream) {
        return;
    }
    const int dirFd = dirfd(stream.get());
    while (const dirent* entry = readdir(stream.get())) {
        if (entryIsListableFolder(dirFd, *entry) && !visit(entry->d_name)) {
            return;
        }
    }
}

}  // namespace

bool isDotOrDotDot(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

bool isListableFolder(int dirFd, const char* name) {
    struct stat status;
    return !isDotOrDotDot(name) && fstatat(dirFd, name, &status, 0) == 0 && S_ISDIR(status.st_mode);
}

std::vector<std::string> listSubfolders(const std::string& path) {
    std::vector<std::string> names;
    forEachSubfolder(path, [&names](const char* name) {
        names.emplace_back(name);
        return true;
    });
    return names;
}

bool hasSubfolders(const std::string& path) {
    bool found = false;
    forEachSubfolder(path, [&found](const char*) {
        found = true;
        return false;
    });
    return found;
}

}  // namespace ravinel
