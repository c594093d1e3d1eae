#include <stdexcept>

#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"

namespace ravinel::tool {

LoaderChoices loaderChoices(const CommandLine& cl) {
    return {
        static_cast<int32_t>(cl.number("max-side", kMaxPictureSide, kMinSideLimit, kMaxSideLimit)),
        !cl.flag("no-color-profile")};
}

void configureDefaultLoader(GraphicLoader& loader, const LoaderChoices& choices) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    loader.maxSide = choices.maxSide;
    loader.useColorProfile = choices.useColorProfile;
}

void loadForProcessing(NkDib& picture, const std::string& path, const LoaderChoices& choices) {
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    configureDefaultLoader(loader, choices);
    GraphicLoadInfo info;
    loader.loadFromFile(picture, path, false, info);
    if (!info.succeeded()) {
        throw std::runtime_error("cannot load " + path + ": " + loadFailureText(info));
    }
}

}  // namespace ravinel::tool
