#pragma once

#include "image/spi.h"

namespace ravinel {

// The program's choice of plug-ins (install as Spis::onSearch): picture plug-ins only,
// and never "ifmm.spi" (in any case), whose decoding the program does not want.
void spisSearch(const Spi& spi, bool& accept);

}  // namespace ravinel
