#pragma once

#include <cstdint>
#include <vector>

#include "dib/nk_dib.h"

namespace ravinel {

// Addresses of every row of a picture, top row first, gathered once so that the
// resampling loops index plain memory.
std::vector<const uint8_t*> constRows(const NkDib& dib);
// The same for writing; unshares the picture's store first.
std::vector<uint8_t*> rows(NkDib& dib);

}  // namespace ravinel
