#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ravinel {

// A regular file open for reading. Pictures, catalogs, archives and settings come only
// from regular files: the open never waits (a FIFO without a writer would block it for
// good), and a FIFO, device, socket or folder is closed again unread. Links are followed.
// The decoder plug-ins and archiver modules build this unit in as well.
class RegularFile {
  public:
    explicit RegularFile(const char* path);
    explicit RegularFile(const std::string& path) : RegularFile(path.c_str()) {}
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    // The descriptor, blocking as usual; it closes with the object.
    int fd() const { return fd_; }
    // The length at the open.
    uint64_t size() const { return size_; }
    // Why the file is not open: the errno of the call that failed, or 0 when the path
    // names something that is not a regular file.
    int openError() const { return error_; }
    // That reason as text: the system's message or "not a regular file".
    std::string failureText() const;

    // Reads count bytes from offset on, fewer only at the end of the file. Returns the
    // bytes read, or -1 with errno set on an error.
    int64_t readAt(void* buffer, size_t count, uint64_t offset) const;

  private:
    int fd_ = -1;
    int error_ = 0;
    uint64_t size_ = 0;
};

}  // namespace ravinel
