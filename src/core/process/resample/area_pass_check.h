#pragma once

#include <cstdint>

#include "dib/nk_dib.h"

namespace ravinel {

// Refuses, with std::invalid_argument naming the pass, pictures a pass cannot work on:
// a source or destination that is not plain 24-bit, or a destination that is not
// width x height.
void checkAreaPass(const NkDib& dest, const NkDib& src, int32_t width, int32_t height,
                   const char* pass);

}  // namespace ravinel
