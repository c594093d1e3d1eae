#pragma once

#include <string>
#include <vector>

#include "image/nk_dib.h"

namespace ravinel::tool {

// Each subcommand takes the words after its name and returns the exit status.
int runInfo(const std::vector<std::string>& args);
int runResize(const std::vector<std::string>& args);
int runProcess(const std::vector<std::string>& args);
int runSettings(const std::vector<std::string>& args);
int runList(const std::vector<std::string>& args);

// Loads a picture the way the processing commands do: recognised by content, own JPEG
// and BMP decoders first. Throws when it does not load.
void loadForProcessing(NkDib& picture, const std::string& path);

}  // namespace ravinel::tool
