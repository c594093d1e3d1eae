#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "codec/graphic_load_info.h"

namespace ravinel {

// The shown height as a percentage of the picture's height with two decimals ("66.67"),
// halves going up, and at most five significant digits ("14271.00" for 14271.43);
// "0.00" when the picture height is 0.
std::string rateText(int32_t destHeight, int32_t sourceHeight);

// "name [i/n] rate% ": fileIndex and lastIndex count from 0.
std::string titleText(const std::string& fileName, int32_t fileIndex, int32_t lastIndex,
                      const std::string& rate);

// "123 ms", or "－" for 0 (nothing measured since the last title).
std::string timeText(uint32_t milliseconds);

// What the information submenu shows, rebuilt at every popup.
struct InfoState {
    std::string fileName;
    bool archiveSource = false;
    std::string fullPath;     // folder + file name (folder source)
    std::string archiveName;  // archive source
    GraphicLoadInfo loadInfo;
    std::string rateText;
    std::string colorModeName;
    uint16_t destWidth = 0;
    uint16_t destHeight = 0;
    std::string loadTimeText;
    std::string showTimeText;
    int32_t frameCount = 1;  // a moving picture's, shown only when above 1
};

// One entry of the information submenu: a separator, or a caption with an optional
// single sub-item; copiesPath marks the sub-item that copies the path.
struct InfoEntry {
    bool separator = false;
    std::string caption;
    std::string subItem;  // empty: no submenu
    bool copiesPath = false;
};

std::vector<InfoEntry> infoEntries(const InfoState& state);

}  // namespace ravinel
