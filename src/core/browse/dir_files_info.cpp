#include "browse/dir_files_info.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

#include "browse/folder_listing.h"
#include "platform/dos_date_time.h"

namespace ravinel {

namespace {

struct DirCloser {
    void operator()(DIR* stream) const { closedir(stream); }
};

// The status of the entry as a file list shows it: the target's for a symbolic link, the
// link's own when the target is missing. False when the entry is gone or is no file.
bool fileStatusOf(int dirFd, const char* name, struct stat& status) {
    if (fstatat(dirFd, name, &status, 0) != 0) {
        if (fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(status.st_mode)) {
            return false;
        }
    }
    return S_ISREG(status.st_mode) || S_ISLNK(status.st_mode);
}

}  // namespace

void DirFilesInfo::setDir(const std::string& dir) {
    if (dir.empty()) {
        dir_.clear();
        clear();
    } else if (dir != dir_) {
        dir_ = dir;
        readDir();
    }
}

void DirFilesInfo::readDir() {
    clear();
    if (dir_.empty()) {
        return;
    }
    const std::unique_ptr<DIR, DirCloser> stream(opendir(dir_.c_str()));
    if (!stream) {
        return;
    }
    const int dirFd = dirfd(stream.get());
    int32_t index = 0;
    while (const dirent* entry = readdir(stream.get())) {
        struct stat status;
        if (isDotOrDotDot(entry->d_name) || !fileStatusOf(dirFd, entry->d_name, status)) {
            continue;
        }
        FileInfoItem item;
        item.index = index++;
        item.name = entry->d_name;
        item.size = static_cast<int32_t>(static_cast<uint32_t>(status.st_size));
        item.time = dosDateTimeOfLocalTime(status.st_mtim.tv_sec);
        if (icons_ != nullptr) {
            const std::string path = dir_ + item.name;
            item.largeIcon = icons_->largeIconOf(path);
            item.smallIcon = icons_->smallIconOf(path);
        }
        add(item);
    }
}

void DirFilesInfo::assign(const DirFilesInfo& source) {
    dir_ = source.dir_;
    FilesInfo::assign(source);
}

}  // namespace ravinel
