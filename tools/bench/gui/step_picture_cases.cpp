#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "bench_stats.h"
#include "cached_folder.h"
#include "gui_bench_case.h"
#include "photo_files.h"
#include "viewer/image_window.h"

namespace ravinel::bench {
namespace {

constexpr int kPhotos = 3;
constexpr int kSteps = 8;

struct Photo {
    int width;
    int height;
    int32_t maxSide;
};

// Steps kSteps times through a folder of kPhotos copies of the photo, next to the end then
// back, as the arrow keys do (the window's navigation action, then the paint of the new
// picture), with a new user's settings on the screen of "open a JPEG". Preloaded: before
// each key the worker has finished, so the time is the one a user who looks at a picture
// a moment sees; otherwise nothing is prepared ahead and the key loads and processes.
std::vector<Figure> stepPictures(const std::string& dir, const Photo& photo, bool preloaded) {
    QTemporaryDir settingsDir;
    AppHub hub(settingsDir.filePath("ravinel.ini").toStdString());
    hub.graphicLoader().maxSide = photo.maxSide;
    hub.settings().preloadCount = preloaded ? 1 : 0;
    hub.onMessage = [](const QString& text) { throw std::runtime_error(text.toStdString()); };
    hub.noteFrameExtents(3, 3, 29);
    if (!hub.openImageFile(dir + "p0.jpg", hub.dirFilesInfo(), true)) {
        throw std::runtime_error("the picture did not open");
    }
    ImageWindow* window = openedWindow();
    std::vector<double> times;
    for (int step = 0; step < kSteps; ++step) {
        QCoreApplication::processEvents();
        window->preloader().waitUntilIdle();
        const bool forward = (step / (kPhotos - 1)) % 2 == 0;
        QAction* key = forward ? window->popupMenu().vaNext : window->popupMenu().vaPrior;
        const uint64_t handedOut = window->preloader().handedOut();
        const Clock::time_point start = Clock::now();
        key->trigger();
        window->repaint();
        times.push_back(millisecondsBetween(start, Clock::now()));
        if ((window->preloader().handedOut() > handedOut) != preloaded) {
            throw std::runtime_error("a step did not take the path it measures");
        }
    }
    delete window;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return {
        {"key to picture on screen, median of " + std::to_string(kSteps), median(times)},
        {"key to picture on screen, slowest", largest(times)},
        {"peak resident memory of the process", peakResidentMiB(), "MiB"},
    };
}

}  // namespace

void addStepPictureCases(std::vector<GuiBenchCase>& cases) {
    const Photo photos[] = {{4000, 3000, kMaxPictureSide}, {6000, 4000, 8192}};
    for (const Photo& photo : photos) {
        const std::string size = std::to_string(photo.width) + "x" + std::to_string(photo.height);
        const std::string folder = "/tmp/ravinel-bench-step-" + size;
        auto dir = std::make_shared<std::string>();
        auto prepare = [dir, folder, photo] {
            if (dir->empty()) {
                *dir = cachedFolder(folder, kPhotos, [photo](const std::string& d) {
                    for (int i = 0; i < kPhotos; ++i) {
                        writePhoto(d + "p" + std::to_string(i) + ".jpg", photo.width, photo.height);
                    }
                });
            }
        };
        for (const bool preloaded : {true, false}) {
            cases.push_back({std::string("step to the next JPEG ") + size +
                                 (preloaded ? ", preloaded" : ", not preloaded"),
                             prepare, [dir, photo, preloaded] {
                                 return stepPictures(*dir, photo, preloaded);
                             }});
        }
    }
}

}  // namespace ravinel::bench
