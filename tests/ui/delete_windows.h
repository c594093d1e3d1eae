#pragma once

#include <QApplication>
#include <QWidget>
#include <vector>

#include "browser/browser_window.h"
#include "common/idle_dispatcher.h"
#include "viewer/image_window.h"

namespace ravinel::testing {

// Deletes every browser and image window. Deleting skips the close handlers and the idle
// hook they install, which would end the run once the last window has gone.
inline void deleteBrowserAndImageWindows() {
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<BrowserWindow*>(widget) != nullptr ||
            qobject_cast<ImageWindow*>(widget) != nullptr) {
            windows.push_back(widget);
        }
    }
    for (QWidget* window : windows) {
        delete window;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    IdleDispatcher::instance().clearHandler();
}

}  // namespace ravinel::testing
