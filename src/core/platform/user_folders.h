#pragma once

#include <filesystem>

namespace ravinel {

// The user's home folder: $HOME, else the user database's.
std::filesystem::path homeFolder();

// A base folder of the user's by the freedesktop rules: the variable when it holds an
// absolute path (relative ones are to be ignored), else homeFolder() / fallback, as
// ("XDG_CONFIG_HOME", ".config").
std::filesystem::path xdgBaseFolder(const char* variable, const char* fallback);

}  // namespace ravinel
