#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_case.h"
#include "browse/dir_files_info.h"

namespace ravinel::bench {
namespace {

constexpr int kFileCount = 20000;

// A temporary folder of kFileCount files with names in several camera and scanner
// styles, mixed case and digit widths, sparse sizes and spread modification times;
// made at first use and removed at the end of the run.
class ListingFolder {
  public:
    ListingFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ravinel-listing-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make the listing folder");
        }
        path_ = pattern + "/";
        const char* styles[] = {"IMG_%04d.JPG", "img%d.jpg",      "Scan %03d.png",
                                "DSC%05d.jpeg", "photo-%d-b.JPG", "\xE5\x86\x99\xE7\x9C\x9F%d.bmp"};
        for (int k = 0; k < kFileCount; ++k) {
            char name[64];
            std::snprintf(name, sizeof name, styles[k % 6], k * 7 % 10007);
            const std::string file = path_ + name + (k % 5 == 0 ? "" : "x") + std::to_string(k);
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || ftruncate(fd, (k * 7919) % 100000) != 0) {
                throw std::runtime_error("cannot make " + file);
            }
            const timespec times[2] = {{1000000000 + (k * 104729L) % 500000000, 0},
                                       {1000000000 + (k * 104729L) % 500000000, 0}};
            futimens(fd, times);
            close(fd);
        }
    }
    ~ListingFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

// Everything the cases share: the folder, once, and its list in reading order.
struct ListingState {
    std::unique_ptr<ListingFolder> folder;
    DirFilesInfo read;
    DirFilesInfo working;

    void ensureFolder() {
        if (!folder) {
            folder = std::make_unique<ListingFolder>();
            read.setDir(folder->path());
        }
    }
};

}  // namespace

void addListingCases(std::vector<BenchCase>& cases) {
    auto state = std::make_shared<ListingState>();
    const double files = kFileCount / 1e6;
    // What the browser does on every folder selection: forget the folder, read it anew.
    cases.push_back({"listing 20000 files readDir", files, [state] { state->ensureFolder(); },
                     [state] {
                         state->working.setDir("");
                         state->working.setDir(state->folder->path());
                     }});
    for (int mode = 0; mode < 8; ++mode) {
        cases.push_back({"listing 20000 files sort mode " + std::to_string(mode), files,
                         [state] {
                             state->ensureFolder();
                             state->working.setDir("");
                             state->working.assign(state->read);
                         },
                         [state, mode] { state->working.sort(mode); }});
    }
}

}  // namespace ravinel::bench
