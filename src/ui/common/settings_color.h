#pragma once

#include <QColor>
#include <QPalette>

#include "settings/settings_records.h"

namespace ravinel {

// The colour a settings value stands for: 0x00BBGGRR as it is, a system colour as the
// palette role of the same purpose, clNone as transparent and clDefault as the palette's
// window colour.
QColor settingsColor(Color value, const QPalette& palette);

}  // namespace ravinel
