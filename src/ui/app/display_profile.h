#pragma once

#include <cstdint>
#include <vector>

namespace ravinel {

// The ICC profile of the display, as colour-managed X desktops publish it: the
// _ICC_PROFILE property of the first screen's root window. Empty where the program does
// not run on X (offscreen, Wayland), where none is set, and for one larger than a profile
// may be.
std::vector<uint8_t> displayIccProfile();

}  // namespace ravinel
