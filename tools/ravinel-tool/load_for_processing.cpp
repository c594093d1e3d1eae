#include <stdexcept>

#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "settings/settings_records.h"

namespace ravinel::tool {

int32_t maxSideOption(const CommandLine& cl) {
    return static_cast<int32_t>(
        cl.number("max-side", kMaxPictureSide, kMinSideLimit, kMaxSideLimit));
}

void configureDefaultLoader(GraphicLoader& loader, int32_t maxSide) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    // Thumbnails take a plug-in's preview (a camera's embedded JPEG) as the browser's do.
    loader.useSpiPrev = LoaderFlags{}.useSpiPrev;
    loader.maxSide = maxSide;
}

void loadForProcessing(NkDib& picture, const std::string& path, int32_t maxSide) {
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    configureDefaultLoader(loader, maxSide);
    GraphicLoadInfo info;
    loader.loadFromFile(picture, path, false, info);
    if (!info.succeeded()) {
        throw std::runtime_error("cannot load " + path + ": " + loadFailureText(info));
    }
}

}  // namespace ravinel::tool
