#include <string>

#include "settings/settings.h"
#include "settings/vr_ini_file.h"
#include "tools/fuzz/targets/fuzz_targets.h"
#include "tools/fuzz/targets/scratch_folder.h"
#include "tools/fuzz/targets/settings_windows.h"

namespace ravinel::fuzz {
namespace {

// Reads a few keys of every kind from the sections a settings file has, and some that
// a hostile one may name.
void readKeys(const VrIniFile& ini) {
    ini.readBool("Maximized", false);
    ini.readInteger("Left", 0);
    ini.readFloat("Gamma", 1.0);
    ini.readString("LastDir", "");
    ini.readColor("BackColor", Color{});
    ini.readRect("Bounds", Rect{});
}

}  // namespace

// Input: the settings file. Reading never fails, and the browser window and an image
// window lay themselves out with what was read: any exception is a finding, as is any
// overflow the sanitizers see.
void fuzzIniSettings(FuzzInput data) {
    if (data.size() > kMaxFuzzInputBytes) {
        return;
    }
    const std::string path = writeScratchFile("ravinel.ini", data);
    VrIniFile ini(path);
    for (const char* section : {"", "ThumbForm", "viewconf", "File", "a"}) {
        ini.setSection(section);
        readKeys(ini);
    }
    layOutWindowsWith(loadSettings(path));
}

}  // namespace ravinel::fuzz
