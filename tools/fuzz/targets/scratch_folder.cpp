#include "tools/fuzz/targets/scratch_folder.h"

#include "tests/temp_dir.h"

namespace ravinel::fuzz {
namespace {

const testing::TempDir& folder() {
    static const testing::TempDir dir;
    return dir;
}

}  // namespace

const std::string& scratchFolder() {
    // An empty name gives the folder itself with its trailing "/".
    static const std::string path = folder().path("");
    return path;
}

std::string writeScratchFile(const std::string& name, FuzzInput data) {
    return folder().write(name, data);
}

}  // namespace ravinel::fuzz
