#pragma once

#include <QList>

class QWidget;

namespace ravinel {

// The tray icon's click: while any of forms is not minimised, every one is minimised
// (the last first) and remembers whether it was maximised; when all are minimised, each
// comes back maximised or normal as it was.
void minimizeOrRestoreAll(const QList<QWidget*>& forms);

}  // namespace ravinel
