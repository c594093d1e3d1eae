#include "app/atomic_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace ravinel {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& what, int error) {
    throw FileWriteError("cannot write " + path + ": " + what + ": " + std::strerror(error));
}

// A link is replaced at its target, so that a settings file kept elsewhere and linked
// stays where it is.
std::string resolvedTarget(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto target = std::filesystem::weakly_canonical(path, error);
        if (!error) {
            return target.string();
        }
    }
    return path;
}

// A name of our own beside the target; the process id and a counter keep two writers
// apart.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path p(target);
    const std::string name = "." + p.filename().string() + ".tmp-" + std::to_string(getpid()) +
                             "-" + std::to_string(counter++);
    return (p.parent_path() / name).string();
}

class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& target) : path_(temporaryName(target)) {
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            fail(target, "cannot create " + path_, errno);
        }
    }
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!renamed_) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const std::string& path() const { return path_; }
    // Closes the descriptor, reporting a failure that close alone detects.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }
    void markRenamed() { renamed_ = true; }

  private:
    std::string path_;
    int fd_ = -1;
    bool renamed_ = false;
};

void writeAll(int fd, std::string_view content, const std::string& target) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(target, "write", errno);
        }
        content.remove_prefix(static_cast<size_t>(written));
    }
}

// Makes the rename itself durable; a folder that cannot be synced is no failure of the
// write, which has already happened.
void syncFolder(const std::string& target) {
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = resolvedTarget(path);
    TemporaryFile temporary(target);
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(temporary.fd(), old.st_mode & 07777);
    }
    writeAll(temporary.fd(), content, target);
    if (::fsync(temporary.fd()) != 0) {
        fail(target, "fsync", errno);
    }
    if (temporary.close() != 0) {
        fail(target, "close", errno);
    }
    if (::rename(temporary.path().c_str(), target.c_str()) != 0) {
        fail(target, "rename", errno);
    }
    temporary.markRenamed();
    syncFolder(target);
}

}  // namespace ravinel
