#include "platform/atomic_file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
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

std::filesystem::path folderOf(const std::string& target) {
    const std::filesystem::path folder = std::filesystem::path(target).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string temporaryPrefix(const std::string& target) {
    return "." + std::filesystem::path(target).filename().string() + ".tmp-";
}

// A name of our own beside the target; the process id and a counter keep two writers
// apart.
std::string temporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    const std::string name =
        temporaryPrefix(target) + std::to_string(getpid()) + "-" + std::to_string(counter++);
    return (folderOf(target) / name).string();
}

// A write takes milliseconds; a temporary file this old whose writer no longer runs here
// was left by a kill. The age keeps a writer on another machine sharing the folder safe.
constexpr auto kStaleAge = std::chrono::minutes(10);

bool writerHasEnded(std::string_view nameAfterPrefix) {
    int pid = 0;
    const char* end = nameAfterPrefix.data() + nameAfterPrefix.size();
    const auto [rest, error] = std::from_chars(nameAfterPrefix.data(), end, pid);
    if (error != std::errc{} || rest == end || *rest != '-' || pid <= 0) {
        return false;
    }
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Writers killed between creating their temporary file and the rename leave it behind;
// those are removed, so that crashes do not pile hidden files up beside the settings.
void removeStaleTemporaries(const std::string& target) {
    const std::string prefix = temporaryPrefix(target);
    const auto now = std::filesystem::file_time_type::clock::now();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folderOf(target), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix) ||
            !writerHasEnded(std::string_view(name).substr(prefix.size()))) {
            continue;
        }
        std::error_code ignored;
        const auto written = std::filesystem::last_write_time(it->path(), ignored);
        if (!ignored && now - written > kStaleAge) {
            std::filesystem::remove(it->path(), ignored);
        }
    }
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
    const int fd = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

void writeFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = resolvedTarget(path);
    // Only a regular file is replaced: a FIFO, device or folder in its place stays.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        throw FileWriteError("cannot write " + target + ": not a regular file");
    }
    TemporaryFile temporary(target);
    if (exists) {
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
    removeStaleTemporaries(target);
}

}  // namespace ravinel
