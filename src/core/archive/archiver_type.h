#pragma once

#include <cstdint>

namespace ravinel {

enum class ArchiverType : uint8_t {
    atLha = 0,
    atZip = 1,
    atCab = 2,
    atArj = 3,
    atTar = 4,
    atTgz = 5,
    atBZ2 = 6,
    atRar = 7,
    atBga = 8,
    atYz1 = 9,
    atGCA = 10,
    atBel = 11,
    at7z = 12,
    atNone = 13,
    atAutoDetect = 14,
};

}  // namespace ravinel
