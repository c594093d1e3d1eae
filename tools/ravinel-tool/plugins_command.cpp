#include <iostream>

#include "command_line.h"
#include "commands.h"

namespace ravinel::tool {

int runPlugins(const std::vector<std::string>& args) {
    const CommandLine cl(args, {}, {});
    if (!cl.positional().empty()) {
        throw UsageError("plugins takes no arguments");
    }
    const std::unique_ptr<Spis> spis = searchPlugins(false);
    for (int i = 0; i < spis->count(); ++i) {
        const Spi& spi = spis->item(i);
        std::string filters;
        for (const std::string& filter : spi.filters()) {
            filters += (filters.empty() ? "" : ";") + filter;
        }
        std::cout << spi.fileName() << "\t" << spi.apiVersion() << "\t" << filters << "\t"
                  << spi.pluginName() << "\n";
    }
    return 0;
}

}  // namespace ravinel::tool
