#pragma once

#include "browse/shell_places.h"

namespace ravinel {

// The desktop and documents folders of the user (QStandardPaths) and the mounted volumes
// a user browses (QStorageInfo), read now.
ShellPlaces systemPlaces();

}  // namespace ravinel
