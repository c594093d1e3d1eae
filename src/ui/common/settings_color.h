#pragma once

#include <QColor>
#include <QPalette>

#include "settings/settings_records.h"

namespace ravinel {

// The colour a settings value stands for: 0x00BBGGRR as it is, a system colour as the
// palette role of the same purpose, clNone as transparent and clDefault as the palette's
// window colour.
QColor settingsColor(Color value, const QPalette& palette);

// A colour as the settings store it and the loader takes it: 0x00BBGGRR.
Color settingsColorOf(const QColor& color);

// The background the loader composites pictures with alpha over, as the settings choose it;
// a system colour is resolved through the palette.
AlphaBackground alphaBackgroundOf(const LoaderFlags& flags, const QPalette& palette);

}  // namespace ravinel
