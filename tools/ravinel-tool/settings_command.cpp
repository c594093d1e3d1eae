#include <filesystem>
#include <iostream>

#include "command_line.h"
#include "commands.h"
#include "settings/settings.h"
#include "settings/settings_location.h"

namespace ravinel::tool {

int runSettings(const std::vector<std::string>& args) {
    const CommandLine cl(args, {}, {"ini"});
    if (!cl.positional().empty()) {
        throw UsageError("settings takes no FILE; use --ini FILE");
    }
    // The viewer is installed beside this tool, so its settings file is found from there.
    const auto viewer = std::filesystem::path(currentExecutablePath()).parent_path() / "ravinel";
    const std::string path = cl.option("ini", settingsFilePath(viewer.string()));
    Settings settings = loadSettings(path);
    saveSettings(settings, path);
    std::cout << path << "\n";
    return 0;
}

}  // namespace ravinel::tool
