#include "cached_folder.h"

#include <cstdio>
#include <filesystem>
#include <iterator>

namespace ravinel::bench {

std::string cachedFolder(const std::string& path, int count,
                         const std::function<void(const std::string& dir)>& fill) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(path).lexically_normal();
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    const std::string dir = (folder / "").string();
    std::error_code error;
    if (fs::is_directory(folder, error) &&
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()) == count) {
        return dir;
    }
    std::printf("writing %d files into %s\n", count, dir.c_str());
    std::fflush(stdout);
    // Filled beside and renamed at the end, so a run cut short leaves no folder that
    // looks complete.
    const fs::path part = folder.string() + ".part";
    fs::remove_all(part);
    fs::create_directories(part);
    fill((part / "").string());
    fs::remove_all(folder);
    fs::rename(part, folder);
    return dir;
}

}  // namespace ravinel::bench
