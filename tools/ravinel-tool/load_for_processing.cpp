#include <stdexcept>
#include <string>

#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "settings/settings_records.h"

namespace ravinel::tool {

namespace {

AlphaBackground backgroundOption(const CommandLine& cl) {
    const std::string text = cl.option("background", "checker");
    if (text == "checker") {
        return {};
    }
    const bool hex =
        text.size() == 6 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    if (!hex) {
        throw UsageError("--background takes checker or a colour RRGGBB");
    }
    const auto rgb = static_cast<uint32_t>(std::stoul(text, nullptr, 16));
    // 0x00BBGGRR, as the loader takes colours.
    return {AlphaBackgroundKind::color, (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16};
}

}  // namespace

LoaderChoices loaderChoices(const CommandLine& cl) {
    return {
        static_cast<int32_t>(cl.number("max-side", kMaxPictureSide, kMinSideLimit, kMaxSideLimit)),
        !cl.flag("no-color-profile"), backgroundOption(cl)};
}

void configureDefaultLoader(GraphicLoader& loader, const LoaderChoices& choices) {
    loader.doAnalyze = true;
    loader.inJpgFirst = true;
    loader.inBmpFirst = true;
    // Thumbnails take a plug-in's preview (a camera's embedded JPEG) as the browser's do.
    loader.useSpiPrev = LoaderFlags{}.useSpiPrev;
    loader.maxSide = choices.maxSide;
    loader.useColorProfile = choices.useColorProfile;
    loader.alphaBackground = choices.background;
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
