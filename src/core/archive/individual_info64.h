#pragma once

#include <cstdint>

#include "archiver_api.h"

namespace ravinel {

// One member as the layer hands it out: the module's record, completed with the three
// times and the 64-bit sizes (from the module's exports or from the record itself).
struct IndividualInfo64 {
    ArcIndividualInfo info{};
    ArcFileTime writeTime = 0;
    ArcFileTime createTime = 0;
    ArcFileTime accessTime = 0;
    uint64_t originalSize = 0;
    uint64_t compressedSize = 0;
};

}  // namespace ravinel
