#pragma once

#include <string>
#include <vector>

namespace ravinel::tool {

// Each subcommand takes the words after its name and returns the exit status.
int runInfo(const std::vector<std::string>& args);
int runResize(const std::vector<std::string>& args);

}  // namespace ravinel::tool
