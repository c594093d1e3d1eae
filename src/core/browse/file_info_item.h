#pragma once

#include <cstdint>
#include <string>

#include "codec/graphic_load_info.h"

namespace ravinel {

// One file of a listed folder or archive, with what the thumbnail view found out about it.
struct FileInfoItem {
    int32_t index = -1;       // position in its list, renumbered after every sort
    int32_t thumbIndex = -1;  // the thumbnail's place in the thumbnail store; -1 none
    int32_t size = 0;         // file size in bytes, the low 32 bits
    int32_t time = 0;         // last write, packed DOS date-time of local time
    int32_t largeIcon = -1;   // icon numbers handed out by the icon cache
    int32_t smallIcon = -1;
    bool hasTile = false;  // a tile of the thumbnail view shows this item
    GraphicLoadInfo info;  // what loading the file produced; kind 0: not examined yet
    std::string name;      // file name without folder: the directory entry's bytes

    // The size as a plain decimal number.
    std::string sizeText() const;
    // The time as "yyyy/mm/dd hh:nn:ss" with the locale's date and time separators; empty
    // when time is no valid DOS date-time.
    std::string timeText() const;
};

}  // namespace ravinel
