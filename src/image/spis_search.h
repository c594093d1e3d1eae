#pragma once

#include <functional>
#include <string>

#include "image/spi.h"

namespace ravinel {

class Spis;

// The program's choice of plug-ins (install as Spis::onSearch): picture plug-ins only,
// and never "ifmm.spi" (in any case), whose decoding the program does not want.
void spisSearch(const Spi& spi, bool& accept);

// Loads the "*.spi" files of the host's search places. A file that cannot be loaded is
// passed over, and a broken plug-in ends the search while those found before it stay
// usable; both are told to report as one line of text.
void searchSpiFiles(Spis& spis, const std::function<void(const std::string&)>& report);

}  // namespace ravinel
