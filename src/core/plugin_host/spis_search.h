#pragma once

#include <functional>
#include <string>

#include "plugin_host/spi.h"

namespace ravinel {

class Spis;

// The program's choice of plug-ins (install as Spis::onSearch): picture plug-ins only,
// and never "ifmm.spi" (in any case), whose decoding the program does not want.
void spisSearch(const Spi& spi, bool& accept);

// Loads the "*.spi" files of the host's search places. Each file that cannot be loaded,
// is not trusted or lacks an export is passed over and told to report as one line of text
// that names it and why.
void searchSpiFiles(Spis& spis, const std::function<void(const std::string&)>& report);

}  // namespace ravinel
