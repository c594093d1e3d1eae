#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace ravinel::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "ravinel-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern + "/";
    }
    ~TempFolder() {
        std::error_code ignored;
        chmod(path_.c_str(), 0700);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder path, ending with "/".
    const std::string& path() const { return path_; }

    // Writes a file of size bytes and sets its modification time (seconds since 1970).
    void addFile(const std::string& name, size_t size = 0, time_t mtime = 0) const {
        const std::string full = path_ + name;
        std::ofstream(full, std::ios::binary) << std::string(size, 'x');
        if (mtime != 0) {
            const timespec times[2] = {{mtime, 0}, {mtime, 0}};
            if (utimensat(AT_FDCWD, full.c_str(), times, 0) != 0) {
                throw std::runtime_error("utimensat failed on " + full);
            }
        }
    }

  private:
    std::string path_;
};

}  // namespace ravinel::test
