#include "image/spis_search.h"

#include <strings.h>

#include <string>

#include "image/file_extension.h"
#include "image/spi_error.h"
#include "image/spis.h"

namespace ravinel {

void spisSearch(const Spi& spi, bool& accept) {
    const std::string name = withoutFolder(spi.fileName());
    accept = spi.isInSpi() && strcasecmp(name.c_str(), "ifmm.spi") != 0;
}

void searchSpiFiles(Spis& spis, const std::function<void(const std::string&)>& report) {
    spis.onLoadError = [&report](const SpiFOpenErrorSpiError& e) {
        report(std::string(e.what()) + " (" + e.detail() + ")");
    };
    try {
        spis.search("*.spi");
    } catch (const SpiError& e) {
        report(e.what());
    }
    spis.onLoadError = nullptr;
}

}  // namespace ravinel
