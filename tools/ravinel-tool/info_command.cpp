#include <iostream>

#include "codec/graphic_load_info.h"
#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "dib/nk_dib.h"

namespace ravinel::tool {

int runInfo(const std::vector<std::string>& args) {
    const CommandLine cl(
        args, {"analyze", "jpg-first", "bmp-first", "no-orientation", "no-color-profile"},
        {"max-side"});
    if (cl.positional().size() != 1) {
        throw UsageError("info takes one FILE");
    }
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    loader.doAnalyze = cl.flag("analyze");
    loader.inJpgFirst = cl.flag("jpg-first");
    loader.inBmpFirst = cl.flag("bmp-first");
    loader.useOrientation = !cl.flag("no-orientation");
    const LoaderChoices choices = loaderChoices(cl);
    loader.maxSide = choices.maxSide;
    loader.useColorProfile = choices.useColorProfile;

    NkDib picture;
    GraphicLoadInfo info;
    loader.loadFromFile(picture, cl.positional()[0], false, info);
    return printLoadInfo(info);
}

int printLoadInfo(const GraphicLoadInfo& info) {
    std::cout << "kind=" << static_cast<int>(info.kind) << " width=" << info.width
              << " height=" << info.height << " pixelformat=" << static_cast<int>(info.pixelFormat)
              << " label=" << kPixelFormatLabels.at(info.pixelFormat);
    // Only a moving picture says so: the lines of still pictures stay as they were.
    if (info.succeeded() && info.frameCount > 1) {
        std::cout << " frames=" << info.frameCount;
    }
    if (!info.succeeded()) {
        std::cout << " reason=" << loadFailureText(info);
    }
    std::cout << "\n";
    return info.succeeded() ? 0 : 1;
}

}  // namespace ravinel::tool
