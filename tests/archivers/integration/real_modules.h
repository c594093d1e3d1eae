// The archiver modules of this build, loaded through the archive layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archiver_options.h"
#include "tests/core/archive/archive_fixture.h"

namespace ravinel::testing {

class RealModules : public ArchiverModuleFolder {
  public:
    RealModules() : ArchiverModuleFolder(RAVINEL_ARCHIVER_MODULE_DIR) {}
};

// The member extracted as the viewer extracts it, with the module's result in result;
// empty unless the result is 0.
inline std::vector<uint8_t> extract(ArchiveFile& archive, const std::string& member,
                                    int32_t& result) {
    setViewingSwitches(archive.options);  // the switches the viewer extracts with
    std::vector<uint8_t> buffer(8192, 0xEE);
    uint32_t written = 0;
    result = archive.extractMem(nullptr, nullptr, member, buffer.data(),
                                static_cast<uint32_t>(buffer.size()), &written);
    buffer.resize(result == 0 ? written : 0);
    return buffer;
}

}  // namespace ravinel::testing
