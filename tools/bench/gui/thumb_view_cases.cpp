#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_browser.h"
#include "bench_stats.h"
#include "cached_folder.h"
#include "common/idle_dispatcher.h"
#include "gui_bench_case.h"
#include "platform/parallel_bands.h"
#include "tools/fixtures/jpeg_encoder.h"

namespace ravinel::bench {
namespace {

constexpr int kFiles = 1000;
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
// The photographs of the comparison across cores.
constexpr int kCoresWidth = 2560;
constexpr int kCoresHeight = 1600;
constexpr int kGiveUpMs = 10 * 60 * 1000;
// Where they are kept; the script that compares them with vipsthumbnail reads them there.
constexpr const char* kCoresFolder = "/tmp/ravinel-bench-cores-1000";

// Copies of one photograph-like JPEG (quality 90) named like a camera's files.
void writePhotos(const std::string& dir, int width, int height) {
    const std::vector<uint8_t> jpeg =
        fixtures::encodeJpeg(fixtures::photoLikePicture(width, height), {.quality = 90});
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "IMG_%04d.JPG", i + 1);
        std::ofstream out(dir + name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(jpeg.data()),
                  static_cast<std::streamsize>(jpeg.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + dir + name);
        }
    }
}

bool allDrawn(const std::vector<ImgTnPanel*>& tiles) {
    for (const ImgTnPanel* tile : tiles) {
        if (!tile->drawn()) {
            return false;
        }
    }
    return true;
}

// One folder selection in the browser: the list is read and sorted (timed alone), then
// set on the view, and the idle handler runs as the browser's does, one
// makeNextThumb and one drawNextTile per idle pass, until the view reports it is done
// with every thumbnail made (workers, when there are more threads than one, wake the
// handler as they finish).
std::vector<Figure> showFolder(const std::string& dir, bool sharedCache = false,
                               unsigned threads = 1) {
    static std::mutex pluginLock;  // no plug-ins here
    BenchBrowser browser;
    browser.view.setUseSharedCache(sharedCache);
    browser.view.setMakingThreads(threads, nullptr, pluginLock);
    QCoreApplication::processEvents();  // the empty view is shown and painted once
    const Clock::time_point readStart = Clock::now();
    browser.readFolder(dir);
    const double readMs = millisecondsBetween(readStart, Clock::now());

    QEventLoop loop;
    Clock::time_point start;
    double setFilesMs = 0;
    double firstScreenMs = -1;
    double allMadeMs = -1;
    std::vector<double> steps;
    std::vector<double> stepsCpu;
    std::vector<double> between;  // events handled between two idle passes
    Clock::time_point lastStepEnd;
    std::vector<ImgTnPanel*> visible;
    IdleDispatcher& idle = IdleDispatcher::instance();
    QTimer::singleShot(0, &loop, [&] {
        start = Clock::now();
        browser.view.setFiles(browser.list);
        lastStepEnd = Clock::now();
        setFilesMs = millisecondsBetween(start, lastStepEnd);
        visible = browser.visibleTiles();
        idle.setHandler([&] {
            const Clock::time_point begin = Clock::now();
            const double cpuBegin = threadCpuMilliseconds();
            between.push_back(millisecondsBetween(lastStepEnd, begin));
            browser.view.makeNextThumb();
            const bool done = browser.view.drawNextTile();
            lastStepEnd = Clock::now();
            steps.push_back(millisecondsBetween(begin, lastStepEnd));
            stepsCpu.push_back(threadCpuMilliseconds() - cpuBegin);
            if (firstScreenMs < 0 && allDrawn(visible)) {
                firstScreenMs = millisecondsBetween(start, lastStepEnd);
            }
            if (allMadeMs < 0 && browser.view.madeCount() == browser.view.count()) {
                allMadeMs = millisecondsBetween(start, lastStepEnd);
            }
            if (done && browser.view.madeCount() == browser.view.count()) {
                loop.quit();
            }
            return done;
        });
    });
    QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
    loop.exec();
    idle.clearHandler();
    if (allMadeMs < 0 || firstScreenMs < 0) {
        throw std::runtime_error("the view did not finish its thumbnails");
    }
    return {
        {"list and sort the folder (with icons)", readMs},
        {"setFiles", setFilesMs},
        {"setFiles -> first screen drawn (" + std::to_string(visible.size()) + " tiles)",
         firstScreenMs},
        {"setFiles -> all thumbnails made", allMadeMs},
        {"longest idle pass", largest(steps)},
        {"median idle pass", median(steps)},
        {"longest idle pass, processor time of the thread", largest(stepsCpu)},
        {"longest event handling between idle passes", largest(between)},
        {"idle passes", static_cast<double>(steps.size()), ""},
    };
}

// Two visits of the folder through a shared cache emptied first: the first makes every
// thumbnail from its file and writes the entry, the second takes the entries.
std::vector<Figure> visitTwice(const std::string& dir) {
    const std::filesystem::path cacheHome = "/tmp/ravinel-bench-cache";
    std::filesystem::remove_all(cacheHome);
    std::filesystem::create_directories(cacheHome);
    setenv("XDG_CACHE_HOME", cacheHome.c_str(), 1);
    std::vector<Figure> figures;
    for (const char* visit : {"first visit: ", "second visit: "}) {
        for (const Figure& figure : showFolder(dir, true)) {
            if (figure.name.find("setFiles ->") == 0) {
                figures.push_back(figure);
                figures.back().name = visit + figure.name;
            }
        }
    }
    return figures;
}

// The browser with as many threads as RAVINEL_THREADS (or the processor count) gives,
// and the process's peak memory; tools/bench/thumbs_on_cores.sh runs it once for each
// count, each in a process of its own.
std::vector<Figure> showFolderOnTheCores(const std::string& dir) {
    std::vector<Figure> figures;
    for (const Figure& figure : showFolder(dir, false, processThreads())) {
        if (figure.name.find("setFiles ->") == 0) {
            figures.push_back(figure);
        }
    }
    figures.push_back({"threads", static_cast<double>(processThreads()), ""});
    figures.push_back({"peak resident memory of the process", peakResidentMiB(), "MiB"});
    return figures;
}

}  // namespace

void addThumbViewCases(std::vector<GuiBenchCase>& cases) {
    auto dir = std::make_shared<std::string>();
    const auto prepare = [dir] {
        if (dir->empty()) {
            *dir =
                cachedFolder("/tmp/ravinel-bench-" + std::to_string(kFiles), kFiles,
                             [](const std::string& into) { writePhotos(into, kWidth, kHeight); });
        }
    };
    cases.push_back({"thumbnail view: " + std::to_string(kFiles) + " JPEG " +
                         std::to_string(kWidth) + "x" + std::to_string(kHeight),
                     prepare, [dir] { return showFolder(*dir); }});
    cases.push_back({"thumbnail view through the shared cache: " + std::to_string(kFiles) +
                         " JPEG, first and second visit",
                     prepare, [dir] { return visitTwice(*dir); }});

    auto coresDir = std::make_shared<std::string>();
    cases.push_back({"thumbnail view on the cores: " + std::to_string(kFiles) + " JPEG " +
                         std::to_string(kCoresWidth) + "x" + std::to_string(kCoresHeight),
                     [coresDir] {
                         if (coresDir->empty()) {
                             *coresDir =
                                 cachedFolder(kCoresFolder, kFiles, [](const std::string& into) {
                                     writePhotos(into, kCoresWidth, kCoresHeight);
                                 });
                         }
                     },
                     [coresDir] { return showFolderOnTheCores(*coresDir); }});
}

}  // namespace ravinel::bench
