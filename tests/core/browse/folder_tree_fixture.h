#pragma once

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "tests/temp_dir.h"

namespace ravinel::testing {

// A temporary folder that tests fill with folders, files and links by relative path.
class FolderTree {
  public:
    // The folder path of rel ("" is the root), ending with "/".
    std::string dir(const std::string& rel = "") const {
        std::string path = tmp_.path(rel);
        if (path.back() != '/') {
            path += '/';
        }
        return path;
    }
    std::string folder(const std::string& rel) const {
        std::filesystem::create_directories(tmp_.path(rel));
        return dir(rel);
    }
    void file(const std::string& rel) const { std::ofstream(tmp_.path(rel)) << "x"; }
    void link(const std::string& rel, const std::string& target) const {
        std::filesystem::create_symlink(target, tmp_.path(rel));
    }
    void remove(const std::string& rel) const { std::filesystem::remove_all(tmp_.path(rel)); }

    // Takes every permission from the folder rel; false when it can still be listed (the
    // tests run as root), so a test of an unreadable folder cannot be made.
    bool lock(const std::string& rel) const {
        chmod(tmp_.path(rel).c_str(), 0);
        DIR* stream = opendir(tmp_.path(rel).c_str());
        if (stream != nullptr) {
            closedir(stream);
            unlock(rel);
            return false;
        }
        return true;
    }
    void unlock(const std::string& rel) const { chmod(tmp_.path(rel).c_str(), 0755); }

  private:
    TempDir tmp_;
};

}  // namespace ravinel::testing
