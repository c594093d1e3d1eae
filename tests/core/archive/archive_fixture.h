#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archiver.h"
#include "archive/archiver_dll.h"
#include "tests/temp_dir.h"

namespace ravinel::testing {

// One member of an archive of the stand-in modules.
struct FakeMember {
    std::string name;
    std::vector<uint8_t> bytes;
    uint16_t dosDate = 0;
    uint16_t dosTime = 0;
};

// The folder itself, without a trailing "/".
inline std::string folderOf(const TempDir& dir) {
    return std::filesystem::path(dir.path("x")).parent_path().string();
}

// Writes an archive in the stand-in modules' format.
inline std::string writeFakeArchive(const TempDir& dir, const std::string& name,
                                    const std::vector<FakeMember>& members) {
    std::string text = "FAKEARC\n";
    for (const FakeMember& m : members) {
        text += m.name + "\t" + std::to_string(m.bytes.size()) + "\t" + std::to_string(m.dosDate) +
                "\t" + std::to_string(m.dosTime) + "\n";
        text.append(m.bytes.begin(), m.bytes.end());
    }
    return dir.write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

// Loads modules from the folder for the length of a test; modules loaded before are
// freed so each test sees its own folder.
class ArchiverModuleFolder {
  public:
    explicit ArchiverModuleFolder(const std::string& folder) {
        freeAllArchiverDlls();
        setArchiverModuleFolder(folder);
    }
    ~ArchiverModuleFolder() {
        freeAllArchiverDlls();
        setArchiverModuleFolder("");
    }
    ArchiverModuleFolder(const ArchiverModuleFolder&) = delete;
    ArchiverModuleFolder& operator=(const ArchiverModuleFolder&) = delete;
};

}  // namespace ravinel::testing
