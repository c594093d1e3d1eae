#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "cached_folder.h"
#include "gui_bench_case.h"
#include "photo_files.h"
#include "viewer/image_window.h"

namespace ravinel::bench {
namespace {

constexpr int kOpens = 5;
const char* const kFileName = "photo.jpg";

// A photo and the largest picture side it is opened with.
struct Photo {
    int width;
    int height;
    int32_t maxSide;
};

// The milliseconds the information submenu shows after caption ("読込処理", "表示処理").
double infoMilliseconds(const ImageWindow& window, const QString& caption) {
    emit window.popupMenu().menu->aboutToShow();
    for (const QAction* action : window.popupMenu().vpInfo->actions()) {
        const QStringList parts = action->text().split('\t');
        if (parts.size() == 2 && parts[0] == caption) {
            bool number = false;
            const double ms = parts[1].section(' ', 0, 0).toDouble(&number);
            // "－" is a time under a millisecond as much as a time not taken.
            return number ? ms : 0.0;
        }
    }
    throw std::runtime_error("no " + caption.toStdString() + " in the information submenu");
}

// Opens the picture kOpens times as the hub opens a file given on the command line, with
// a new user's settings (fit to the screen, area reduction, filters "0220"), and keeps
// the best of the window's own load and display times.
std::vector<Figure> openPicture(const std::string& dir, int32_t maxSide) {
    QTemporaryDir settingsDir;
    AppHub hub(settingsDir.filePath("ravinel.ini").toStdString());
    hub.graphicLoader().maxSide = maxSide;
    hub.onMessage = [](const QString& text) { throw std::runtime_error(text.toStdString()); };
    // A window manager's frame of 3-pixel borders under a 23-pixel title bar, as the hub
    // knows it once a first window was framed: on a 1280x1024 screen a 4000x3000 picture
    // then fits at 1274x956, the size ravinel-bench reduces to.
    hub.noteFrameExtents(3, 3, 29);
    double bestLoad = 1e9;
    double bestShow = 1e9;
    QSize shown;
    for (int open = 0; open < kOpens; ++open) {
        if (!hub.openImageFile(dir + kFileName, hub.dirFilesInfo(), true)) {
            throw std::runtime_error("the picture did not open");
        }
        ImageWindow* window = openedWindow();
        bestLoad = std::min(bestLoad, infoMilliseconds(*window, QString::fromUtf8("読込処理")));
        bestShow = std::min(bestShow, infoMilliseconds(*window, QString::fromUtf8("表示処理")));
        shown = window->findChild<QLabel*>()->pixmap().size();
        // Deleting skips the close handler, which would end the run with the last window.
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    return {
        {"load (読込処理), best of " + std::to_string(kOpens), bestLoad},
        {"display (表示処理), best of " + std::to_string(kOpens), bestShow},
        {"load + display", bestLoad + bestShow},
        {"shown width", static_cast<double>(shown.width()), ""},
        {"shown height", static_cast<double>(shown.height()), ""},
        {"screen width", static_cast<double>(screen.width()), ""},
        {"screen height", static_cast<double>(screen.height()), ""},
    };
}

}  // namespace

void addOpenPictureCases(std::vector<GuiBenchCase>& cases) {
    // The design's largest side, and a camera photo that needs it raised.
    const Photo photos[] = {{4000, 3000, kMaxPictureSide}, {6000, 4000, 8192}};
    for (const Photo& photo : photos) {
        const std::string size = std::to_string(photo.width) + "x" + std::to_string(photo.height);
        const std::string folder = photo.maxSide == kMaxPictureSide
                                       ? "/tmp/ravinel-bench-open"
                                       : "/tmp/ravinel-bench-open-" + size;
        std::string name = "open a JPEG " + size + " in fit mode";
        if (photo.maxSide != kMaxPictureSide) {
            name += ", largest side " + std::to_string(photo.maxSide);
        }
        auto dir = std::make_shared<std::string>();
        cases.push_back({name,
                         [dir, folder, photo] {
                             if (dir->empty()) {
                                 *dir = cachedFolder(folder, 1, [photo](const std::string& d) {
                                     writePhoto(d + kFileName, photo.width, photo.height);
                                 });
                             }
                         },
                         [dir, photo] { return openPicture(*dir, photo.maxSide); }});
    }
}

}  // namespace ravinel::bench
