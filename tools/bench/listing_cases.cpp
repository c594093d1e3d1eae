#include <memory>
#include <string>

#include "bench_case.h"
#include "bench_folder.h"
#include "browse/dir_files_info.h"
#include "listing_files.h"

namespace ravinel::bench {
namespace {

constexpr int kFileCount = 20000;

// Everything the cases share: the folder, once, and its list in reading order.
struct ListingState {
    std::unique_ptr<BenchFolder> folder;
    DirFilesInfo read;
    DirFilesInfo working;

    void ensureFolder() {
        if (!folder) {
            folder = std::make_unique<BenchFolder>("ravinel-listing", [](const std::string& dir) {
                writeListingFiles(dir, kFileCount);
            });
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
