#include "common/idle_dispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace ravinel {

namespace {

// Events that follow from the handler's own drawing: waking on them would keep a handler
// that draws running forever.
bool wakesHandler(const QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint:
        case QEvent::UpdateRequest:
        case QEvent::UpdateLater:
            return false;
        default:
            return true;
    }
}

}  // namespace

IdleDispatcher& IdleDispatcher::instance() {
    static QPointer<IdleDispatcher> dispatcher;
    if (dispatcher == nullptr) {
        // Owned by the application, so it goes with it and a later application gets its own.
        dispatcher = new IdleDispatcher(QCoreApplication::instance());
    }
    return *dispatcher;
}

IdleDispatcher::IdleDispatcher(QObject* parent) : QObject(parent) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &IdleDispatcher::runHandler);
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
    }
}

void IdleDispatcher::setHandler(Handler handler) {
    if (handler == nullptr) {
        clearHandler();
        return;
    }
    handler_ = std::make_shared<Handler>(std::move(handler));
    timer_.start();
}

void IdleDispatcher::clearHandler() {
    handler_.reset();
    timer_.stop();
}

void IdleDispatcher::runHandler() {
    const std::shared_ptr<Handler> current = handler_;
    if (current == nullptr) {
        timer_.stop();
        return;
    }
    running_ = true;
    const bool done = (*current)();
    running_ = false;
    // A handler installed during the call runs at the next idle moment in any case.
    if (done && handler_ == current) {
        timer_.stop();
    }
}

bool IdleDispatcher::eventFilter(QObject* watched, QEvent* event) {
    if (handler_ != nullptr && !timer_.isActive() && !running_ && watched != &timer_ &&
        wakesHandler(event)) {
        timer_.start();
    }
    return false;
}

}  // namespace ravinel
