#pragma once

#include <QIcon>

namespace ravinel {

// The program's icon, for its windows and its tray icon.
QIcon programIcon();

}  // namespace ravinel
