#pragma once

#include <string>

namespace ravinel {

// Where the settings file of the program at executablePath lives: $RAVINEL_INI when set;
// else executablePath + ".ini" when that folder is the user's, writable, and not writable
// by group or others (portable use); else $XDG_CONFIG_HOME/ravinel/ravinel.ini (default
// ~/.config), whose folder is created.
std::string settingsFilePath(const std::string& executablePath);

// The path of the running executable.
std::string currentExecutablePath();

}  // namespace ravinel
