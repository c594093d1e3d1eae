#pragma once

#include "color/icc_profile.h"

namespace ravinel {

// True when converting from profile to sRGB would leave every colour as it is, within one
// level: a grid of colours (every grey level of a grey profile) goes through the
// conversion and comes back compared. Such a profile's pictures are shown as stored, as
// those without a profile are. False for profiles that are neither RGB nor grey.
bool matchesSrgb(const IccProfile& profile, const IccProfile& srgb);

}  // namespace ravinel
