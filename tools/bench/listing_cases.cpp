#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench_case.h"
#include "browse/dir_files_info.h"
#include "listing_files.h"

namespace ravinel::bench {
namespace {

constexpr int kFileCount = 20000;

// A temporary folder of kFileCount files (writeListingFiles), made at first use and
// removed at the end of the run.
class ListingFolder {
  public:
    ListingFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "ravinel-listing-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make the listing folder");
        }
        path_ = pattern + "/";
        writeListingFiles(path_, kFileCount);
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
