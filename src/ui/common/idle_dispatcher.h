#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace ravinel {

// The application's one idle handler. The installed handler runs whenever the event loop
// has nothing else to do, again and again while it asks for more; once it reports that it
// is done it sleeps until the next event arrives.
class IdleDispatcher : public QObject {
    Q_OBJECT

  public:
    // Returns true when done (sleep until the next event), false to be called again soon.
    using Handler = std::function<bool()>;

    // The dispatcher of the running application; made on first use.
    static IdleDispatcher& instance();

    // Replaces the installed handler; the new one runs at the next idle moment.
    void setHandler(Handler handler);
    void clearHandler();
    bool hasHandler() const { return handler_ != nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit IdleDispatcher(QObject* parent);
    void runHandler();

    QTimer timer_;
    // Shared so that a handler that replaces or clears itself is not destroyed mid-call.
    std::shared_ptr<Handler> handler_;
    bool running_ = false;
};

}  // namespace ravinel
