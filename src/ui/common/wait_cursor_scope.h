#pragma once

#include <QApplication>

namespace ravinel {

// The hourglass cursor until the block ends, also by an exception.
class WaitCursorScope {
  public:
    WaitCursorScope() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursorScope() { QApplication::restoreOverrideCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};

}  // namespace ravinel
