#pragma once

#include "dib/nk_dib.h"

namespace ravinel {

// A 24-bit picture one pixel larger than src on every side: the inside is src, the frame
// repeats the nearest edge pixel (so each corner repeats the source corner). Lets the 3 x 3
// filters read every neighbour without tests at the edges. src must be 24-bit.
NkDib borderedCopy(const NkDib& src);

}  // namespace ravinel
