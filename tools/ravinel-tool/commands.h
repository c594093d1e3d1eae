#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "codec/graphic_loader.h"
#include "dib/nk_dib.h"
#include "plugin_host/spis.h"

namespace ravinel::tool {

class CommandLine;

// Each subcommand takes the words after its name and returns the exit status.
int runInfo(const std::vector<std::string>& args);
int runResize(const std::vector<std::string>& args);
int runProcess(const std::vector<std::string>& args);
int runSettings(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);
int runThumb(const std::vector<std::string>& args);
int runThumbs(const std::vector<std::string>& args);
int runPlugins(const std::vector<std::string>& args);
int runArchive(const std::vector<std::string>& args);

// Prints the outcome of a load as info does; 0 when the picture loaded, else 1.
int printLoadInfo(const GraphicLoadInfo& info);

// The plug-in host searched in its default places, as the program searches at start;
// programChoiceOnly applies the program's filter (picture plug-ins only). Plug-ins that
// cannot be used are reported on stderr and left out.
std::unique_ptr<Spis> searchPlugins(bool programChoiceOnly);

// What the options of every loading command ask of the loader.
struct LoaderChoices {
    int32_t maxSide = kMaxPictureSide;
    bool useColorProfile = true;
    AlphaBackground background;
};
// --max-side (the largest picture side loaded, from kMinSideLimit to kMaxSideLimit,
// kMaxPictureSide when not given), --no-color-profile and --background (checker, the
// default, or a colour RRGGBB; only the commands that declare it take it).
LoaderChoices loaderChoices(const CommandLine& cl);
// The loader as the program uses it with default settings: recognised by content, own
// JPEG and BMP decoders first; then as chosen.
void configureDefaultLoader(GraphicLoader& loader, const LoaderChoices& choices);
// Loads a picture with the default loader. Throws when it does not load.
void loadForProcessing(NkDib& picture, const std::string& path, const LoaderChoices& choices);
// A folder as browsing names it: absolute, ending in "/".
std::string folderPathOf(const std::filesystem::path& folder);

}  // namespace ravinel::tool
