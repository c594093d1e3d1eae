#pragma once

#include <QApplication>
#include <QWidget>
#include <vector>

#include "app/idle_dispatcher.h"
#include "browse/gui/form_rv_thumb.h"
#include "viewer/form_rv_view.h"

namespace ravinel::testing {

// Deletes every browser and image window. Deleting skips the close handlers and the idle
// hook they install, which would end the run once the last window has gone.
inline void deleteBrowserAndImageWindows() {
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<FormRvThumb*>(widget) != nullptr ||
            qobject_cast<FormRvView*>(widget) != nullptr) {
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
