#pragma once

#include <QString>
#include <cstdint>
#include <string>

#include "codec/graphic_load_info.h"

namespace ravinel {

// The text of the message box for a picture the user asked for that did not open: the
// file as named, then the loader's reason in the windows' language. maxSide is the
// largest picture side the loader takes, named when a side passed it.
QString loadFailureMessage(const std::string& fileName, const GraphicLoadInfo& info,
                           int32_t maxSide);

}  // namespace ravinel
