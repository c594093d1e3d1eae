#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ravinel {

RegularFile::RegularFile(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    // Reads of a regular file do not block anyway; clearing the flag keeps it so for
    // the libraries the descriptor is handed to.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        error_ = errno;
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<uint64_t>(info.st_size);
}

RegularFile::~RegularFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::string RegularFile::failureText() const {
    return error_ != 0 ? std::strerror(error_) : "not a regular file";
}

int64_t RegularFile::readAt(void* buffer, size_t count, uint64_t offset) const {
    auto* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const ssize_t got =
            ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
}

}  // namespace ravinel
