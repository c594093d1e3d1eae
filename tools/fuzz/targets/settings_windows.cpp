#include "tools/fuzz/targets/settings_windows.h"

#include <QApplication>
#include <filesystem>
#include <string>

#include "app/app_hub.h"
#include "browser/browser_window.h"
#include "tests/ui/delete_windows.h"
#include "tools/fixtures/sample_picture.h"
#include "tools/fuzz/targets/scratch_folder.h"

namespace ravinel::fuzz {
namespace {

// Enough idle steps to make and draw the one thumbnail.
constexpr int kIdleSteps = 20;

void startApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "ravinel-fuzz";
    static char* argv[] = {name, nullptr};
    // Alive until the process ends, as the hub that needs it.
    new QApplication(argc, argv);
}

AppHub& hub() {
    // Its own settings file does not exist: the hub starts with the defaults. Alive until
    // the process ends, as the windows of every input are made with it.
    static AppHub* const program = [] {
        auto* made = new AppHub(scratchFolder() + "hub/ravinel.ini");
        // Nobody closes a box here.
        made->onMessage = [](const QString&) {};
        return made;
    }();
    return *program;
}

const std::string& pictureFolder() {
    static const std::string folder = [] {
        const std::string path = scratchFolder() + "pictures/";
        std::filesystem::create_directories(path);
        fixtures::toDib(fixtures::gradientPicture(40, 30)).saveToFile(path + "picture.bmp");
        return path;
    }();
    return folder;
}

}  // namespace

void layOutWindowsWith(const Settings& settings) {
    startApplication();
    AppHub& program = hub();
    program.settings() = settings;
    program.settings().lastDir = pictureFolder();
    program.settings().thumbConf.vixHomeDir = pictureFolder();

    program.setBrowserShowing(true);
    auto* browser = new BrowserWindow(program);
    browser->show();
    for (int step = 0; step < kIdleSteps && !browser->appIdle(); ++step) {
    }
    program.openImageFile(pictureFolder() + "picture.bmp", program.dirFilesInfo(), true);
    testing::deleteBrowserAndImageWindows();
    program.setBrowserShowing(false);
}

}  // namespace ravinel::fuzz
