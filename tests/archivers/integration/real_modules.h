// The archiver modules of this build, loaded through the archive layer.
#pragma once

#include <string>
#include <vector>

#include "tests/image/archive_fixture.h"

namespace ravinel::testing {

class RealModules : public ArchiverModuleFolder {
  public:
    RealModules() : ArchiverModuleFolder(RAVINEL_ARCHIVER_MODULE_DIR) {}
};

}  // namespace ravinel::testing
