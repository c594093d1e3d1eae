#include <QApplication>
#include <memory>
#include <string>

#include "app/form_rv_main.h"
#include "app/launch_target.h"
#include "app/program_icon.h"
#include "app/settings_location.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "process/cpu_features.h"

int main(int argc, char** argv) {
    using namespace ravinel;
    if (!cpuidAvailable()) {
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Ravinel");
    QApplication::setWindowIcon(programIcon());
    // The hub decides when the run ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    const QStringList arguments = QApplication::arguments();
    const std::string argument = arguments.size() > 1 ? arguments.at(1).toStdString() : "";

    InstanceLock lock;
    if (!lock.tryLock()) {
        // Another instance runs: it gets the path, made absolute because its current
        // folder is not ours, and this one ends without waiting for it.
        if (!argument.empty()) {
            handOffPath(launchTarget(argument).path);
        }
        return 0;
    }

    FormRvMain hub(settingsFilePath(currentExecutablePath()));
    auto server = std::make_unique<HandoffServer>();
    if (server->listen()) {
        hub.listenForHandoff(std::move(server));
    }
    TerminationSignals terminationSignals([&hub] { hub.closeAllWindows(); });
    hub.dispatchCommandLine(argument);
    return QApplication::exec();
}
