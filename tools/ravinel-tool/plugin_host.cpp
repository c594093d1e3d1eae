#include <iostream>

#include "commands.h"
#include "image/spi_error.h"
#include "image/spis_search.h"

namespace ravinel::tool {

std::unique_ptr<Spis> searchPlugins(bool programChoiceOnly) {
    auto spis = std::make_unique<Spis>();
    if (programChoiceOnly) {
        spis->onSearch = spisSearch;
    }
    spis->onLoadError = [](const SpiFOpenErrorSpiError& e) {
        std::cerr << "ravinel-tool: " << e.what() << " (" << e.detail() << ")\n";
    };
    try {
        spis->search("*.spi");
    } catch (const SpiError& e) {
        // The plug-ins found before the broken one stay usable.
        std::cerr << "ravinel-tool: " << e.what() << "\n";
    }
    return spis;
}

}  // namespace ravinel::tool
