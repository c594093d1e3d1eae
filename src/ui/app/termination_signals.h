#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace ravinel {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal) into a
// call on the user-interface thread, so that the run ends the normal way and the
// settings are saved. One per process.
class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    explicit TerminationSignals(std::function<void()> onTerminate);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    void readSignal();

    std::function<void()> onTerminate_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace ravinel
