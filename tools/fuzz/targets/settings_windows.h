// The windows a settings file shapes, laid out for the settings surface.
#pragma once

#include "settings/settings.h"

namespace ravinel::fuzz {

// Opens the browser window (its thumbnails made and drawn) and an image window with these
// settings, as the program does, on Qt's offscreen platform unless another was chosen,
// and closes them again. The hub and the folder of one small picture they show are made
// at the first call; the folders the settings name are not visited.
void layOutWindowsWith(const Settings& settings);

}  // namespace ravinel::fuzz
