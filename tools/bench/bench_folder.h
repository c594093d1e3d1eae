#pragma once

#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

namespace ravinel::bench {

// A temporary folder filled once by fill (given the path ending in "/") and removed
// with everything in it at the end of the run.
class BenchFolder {
  public:
    BenchFolder(const std::string& prefix, const std::function<void(const std::string&)>& fill) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make the folder " + pattern);
        }
        path_ = pattern + "/";
        fill(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace ravinel::bench
