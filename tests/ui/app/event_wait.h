#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

namespace ravinel::testing {

// Runs the event loop until done() holds; false if it still does not after a generous
// bound, so a fault fails the test instead of hanging it.
inline bool processEventsUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(10000);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Runs the event loop for a while, for checks that something does not happen.
inline void processEventsFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

}  // namespace ravinel::testing
