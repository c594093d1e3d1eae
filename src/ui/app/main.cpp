#include <QApplication>
#include <iostream>
#include <memory>
#include <string>

#include "app/app_hub.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "common/launch_target.h"
#include "common/program_icon.h"
#include "platform/cpu_features.h"
#include "settings/settings_location.h"

int main(int argc, char** argv) {
    using namespace ravinel;
    if (!cpuidAvailable()) {
        return 0;
    }
    // The lock and the hand-off come before the toolkit, so that a second start needs no
    // display and costs no toolkit start-up; it hands over its first argument as it stands.
    InstanceLock lock;
    if (const RuntimeFolder folder = instanceFolder(); folder.path.empty()) {
        std::cerr << "ravinel: running without the single-instance lock and hand-off: "
                  << folder.problem << "\n";
    } else if (!lock.tryLock()) {
        // Another instance runs: it gets the path, made absolute because its current
        // folder is not ours, and this one ends without waiting for it.
        if (argc > 1 && argv[1][0] != '\0') {
            handOffPath(launchTarget(argv[1]).path);
        }
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName("Ravinel");
    QApplication::setWindowIcon(programIcon());
    // The hub decides when the run ends, not the last window.
    QApplication::setQuitOnLastWindowClosed(false);

    // The toolkit has taken its own options out.
    const QStringList arguments = QApplication::arguments();
    const std::string argument = arguments.size() > 1 ? arguments.at(1).toStdString() : "";

    AppHub hub(settingsFilePath(currentExecutablePath()));
    auto server = std::make_unique<HandoffServer>();
    if (server->listen()) {
        hub.listenForHandoff(std::move(server));
    }
    TerminationSignals terminationSignals([&hub] { hub.closeAllWindows(); });
    hub.dispatchCommandLine(argument);
    return QApplication::exec();
}
