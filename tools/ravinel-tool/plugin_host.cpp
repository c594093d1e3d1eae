#include <iostream>

#include "commands.h"
#include "plugin_host/spis_search.h"

namespace ravinel::tool {

std::unique_ptr<Spis> searchPlugins(bool programChoiceOnly) {
    auto spis = std::make_unique<Spis>();
    if (programChoiceOnly) {
        spis->onSearch = spisSearch;
    }
    searchSpiFiles(*spis, [](const std::string& message) {
        std::cerr << "ravinel-tool: " << message << "\n";
    });
    return spis;
}

}  // namespace ravinel::tool
