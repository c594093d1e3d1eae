#pragma once

#include <QFontMetrics>
#include <QString>

namespace ravinel {

// name as it fits in width pixels of that font: whole when it fits, else shortened in the
// middle with "…" and its extension kept, so that long names that differ only at their
// start or end still tell apart. A width too small even for "…" and the extension gives
// the middle-shortened name without that guarantee.
QString elidedFileName(const QString& name, const QFontMetrics& metrics, int width);

}  // namespace ravinel
