#include <stdexcept>

#include "codec/graphic_loader.h"
#include "commands.h"

namespace ravinel::tool {

void configureDefaultLoader(GraphicLoader& loader) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
}

void loadForProcessing(NkDib& picture, const std::string& path) {
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    configureDefaultLoader(loader);
    GraphicLoadInfo info;
    loader.loadFromFile(picture, path, false, info);
    if (!info.succeeded()) {
        throw std::runtime_error("cannot load " + path);
    }
}

}  // namespace ravinel::tool
