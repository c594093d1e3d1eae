#pragma once

#include <cstdint>
#include <string>

#include "process/pipeline/g_process_settings.h"
#include "settings/settings_records.h"

namespace ravinel {

// Everything the settings file keeps: read once at start, the live defaults while the
// program runs, written once at the end. Starts with the values of a fresh start.
struct Settings {
    ThumbFormConf thumbForm;
    ThumbConf thumbConf;
    ThumbPanel thumbPanel;
    ViewFormConf viewForm;
    // Pictures an image window loads and processes ahead, each way from the shown one,
    // on a worker thread (0: none).
    int32_t preloadCount = 1;
    GProcessSettings viewConf = defaultViewConf();
    int32_t selectPage = 5;  // options window page shown first
    LoaderFlags loaderFlags;
    // Plug-in search places: bit 0 Susie folder, 1 program folder, 2 current folder,
    // 3 and 4 the system plug-in folders.
    uint8_t spiSearchOptions = 3;
    std::string lastDir;  // folder the browser window opens on
    // The windows' language: "ja", "en", or anything else to follow the locale.
    std::string uiLanguage;
    friend bool operator==(const Settings&, const Settings&) = default;
};

// Reads the file at path; every key that is missing or unreadable keeps its default.
// Integers read into byte fields keep their low eight bits, sizeFixed its low sixteen.
Settings loadSettings(const std::string& path);

// Writes the file at path anew: known sections and keys only, in their fixed order.
// While the browser window is maximised its normal bounds are those already in the
// file, and settings.thumbForm.bounds takes them. Throws FileWriteError; the old file
// is then unchanged.
void saveSettings(Settings& settings, const std::string& path);

}  // namespace ravinel
