#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_records.h"

namespace ravinel {

// The standard colour names of the settings file ("clBtnFace", "clRed", ...). Names
// compare without regard to ASCII case.
std::optional<Color> colorFromName(std::string_view name);
// The name of exactly this value, if it has one.
std::optional<std::string> colorName(Color value);

}  // namespace ravinel
