#include "plugin_host/spi_search_places.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace ravinel {

namespace {

std::string asFolder(std::string path) {
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

}  // namespace

std::vector<std::string> spiSearchFolders(uint8_t options) {
    std::vector<std::string> folders;
    std::error_code error;
    if (options & spsSusieDir) {
        // A relative folder would be taken from wherever the program was started.
        const char* susie = getenv("SUSIE_PLUGIN_DIR");
        if (susie != nullptr && susie[0] == '/') {
            folders.push_back(asFolder(susie));
        }
    }
    if (options & spsAppDir) {
        const std::filesystem::path program =
            std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error) {
            folders.push_back(asFolder(program.parent_path().string()));
        }
    }
    if (options & spsCurrentDir) {
        const std::filesystem::path current = std::filesystem::current_path(error);
        if (!error) {
            folders.push_back(asFolder(current.string()));
        }
    }
    if (options & spsSystemDir) {
        folders.push_back("/usr/local/lib/ravinel/plugins/");
    }
    if (options & spsWindowsDir) {
        folders.push_back("/usr/lib/ravinel/plugins/");
    }
    return folders;
}

}  // namespace ravinel
