#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravinel {

// Where the plug-in host looks for plug-ins; a set of them is a bit mask.
enum SpiSearchOption : uint8_t {
    spsSusieDir = 1 << 0,    // $SUSIE_PLUGIN_DIR, when absolute
    spsAppDir = 1 << 1,      // the folder of the executable
    spsCurrentDir = 1 << 2,  // the current folder
    spsSystemDir = 1 << 3,   // /usr/local/lib/ravinel/plugins
    spsWindowsDir = 1 << 4,  // /usr/lib/ravinel/plugins
};

// The folders of the options set, in search order, each ending in "/". A place that
// cannot be had (no SUSIE_PLUGIN_DIR, or an empty or relative one) is left out. Only
// trusted files load from any of them (see loadTrustedModule).
std::vector<std::string> spiSearchFolders(uint8_t options);

}  // namespace ravinel
