#include <QAction>
#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/app_hub.h"
#include "archive/archive_file.h"
#include "archive/archiver_dll.h"
#include "bench_stats.h"
#include "browse/files_info.h"
#include "cached_folder.h"
#include "dialogs/archive_member_list.h"
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

// Opens the first photo of the folder ("/DIR/"), or of the TAR archive of its photos
// ("/DIR-tar/photos.tar"), as the hub opens them.
void openFirst(AppHub& hub, const std::string& dir, bool inArchive) {
    bool opened = false;
    if (inArchive) {
        setArchiverModuleFolder(RAVINEL_ARCHIVER_MODULE_DIR);
        ArchiveFile archive;
        const std::string tar = dir.substr(0, dir.size() - 1) + "-tar/photos.tar";
        archive.setFileName(tar);
        FilesInfo members;
        listArchiveMembers(archive, members);
        opened = hub.openArchiveMember(tar, "p0.jpg", members);
    } else {
        opened = hub.openImageFile(dir + "p0.jpg", hub.dirFilesInfo(), true);
    }
    if (!opened) {
        throw std::runtime_error("the picture did not open");
    }
}

// Steps kSteps times through a folder (or a TAR archive) of kPhotos copies of the photo,
// next to the end then back, as the arrow keys do (the window's navigation action, then the paint
// of the new picture), with a new user's settings on the screen of "open a JPEG". Preloaded: before
// each key the worker has finished, so the time is the one a user who looks at a picture
// a moment sees; otherwise nothing is prepared ahead and the key loads and processes.
std::vector<Figure> stepPictures(const std::string& dir, const Photo& photo, bool preloaded,
                                 bool inArchive) {
    QTemporaryDir settingsDir;
    AppHub hub(settingsDir.filePath("ravinel.ini").toStdString());
    hub.graphicLoader().maxSide = photo.maxSide;
    hub.settings().preloadCount = preloaded ? 1 : 0;
    hub.onMessage = [](const QString& text) { throw std::runtime_error(text.toStdString()); };
    hub.noteFrameExtents(3, 3, 29);
    openFirst(hub, dir, inArchive);
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
            if (!dir->empty()) {
                return;
            }
            *dir = cachedFolder(folder, kPhotos, [photo](const std::string& d) {
                for (int i = 0; i < kPhotos; ++i) {
                    writePhoto(d + "p" + std::to_string(i) + ".jpg", photo.width, photo.height);
                }
            });
            // The same photos in an uncompressed archive, in a folder beside.
            cachedFolder(folder + "-tar", 1, [&](const std::string& d) {
                std::string command = "tar -C '" + *dir + "' -cf '" + d + "photos.tar'";
                for (int i = 0; i < kPhotos; ++i) {
                    command += " p" + std::to_string(i) + ".jpg";
                }
                if (std::system(command.c_str()) != 0) {
                    throw std::runtime_error("tar could not write the archive");
                }
            });
        };
        for (const bool inArchive : {false, true}) {
            for (const bool preloaded : {true, false}) {
                cases.push_back({std::string("step to the next JPEG ") + size +
                                     (inArchive ? " in a TAR" : "") +
                                     (preloaded ? ", preloaded" : ", not preloaded"),
                                 prepare, [dir, photo, preloaded, inArchive] {
                                     return stepPictures(*dir, photo, preloaded, inArchive);
                                 }});
            }
        }
    }
}

}  // namespace ravinel::bench
