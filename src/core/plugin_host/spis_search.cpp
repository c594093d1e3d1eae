#include "plugin_host/spis_search.h"

#include <strings.h>

#include <string>

#include "platform/file_extension.h"
#include "plugin_host/spi_error.h"
#include "plugin_host/spis.h"

namespace ravinel {

void spisSearch(const Spi& spi, bool& accept) {
    const std::string name = withoutFolder(spi.fileName());
    accept = spi.isInSpi() && strcasecmp(name.c_str(), "ifmm.spi") != 0;
}

void searchSpiFiles(Spis& spis, const std::function<void(const std::string&)>& report) {
    spis.onLoadError = [&report](const SpiError& e) {
        const auto* notOpened = dynamic_cast<const SpiFOpenErrorSpiError*>(&e);
        report(notOpened != nullptr ? std::string(e.what()) + " (" + notOpened->detail() + ")"
                                    : std::string(e.what()));
    };
    spis.search("*.spi");
    spis.onLoadError = nullptr;
}

}  // namespace ravinel
