#include <QScrollBar>
#include <memory>
#include <string>
#include <vector>

#include "bench_browser.h"
#include "bench_stats.h"
#include "cached_folder.h"
#include "gui_bench_case.h"
#include "listing_files.h"

namespace ravinel::bench {
namespace {

double timeListing(DirFilesInfo& list, const std::string& dir) {
    const Clock::time_point start = Clock::now();
    list.setDir("");
    list.setDir(dir);
    return millisecondsBetween(start, Clock::now());
}

// A folder of many files in the browser: listing with and without the desktop's icons, each
// sort mode, setting the list on the view and scrolling page by page to the end. Every
// pause is compared with the plain listing, the one wait a folder must cost.
std::vector<Figure> browseFolder(const std::string& dir) {
    std::vector<Figure> figures;
    DirFilesInfo plain;
    const double listingMs = timeListing(plain, dir);
    figures.push_back({"readDir", listingMs});

    BenchBrowser browser;
    figures.push_back({"readDir with the desktop's icons", timeListing(browser.list, dir)});

    double slowestSortMs = 0;
    for (int mode = 0; mode < 8; ++mode) {
        DirFilesInfo copy;
        copy.assign(plain);
        const Clock::time_point start = Clock::now();
        copy.sort(mode);
        const double sortMs = millisecondsBetween(start, Clock::now());
        slowestSortMs = std::max(slowestSortMs, sortMs);
        figures.push_back({"sort mode " + std::to_string(mode), sortMs});
    }
    browser.list.sort(0);

    auto* bar = browser.view.findChild<QScrollBar*>();
    const std::vector<double> steps = stepsInEventLoop([&](int step) {
        if (step == 0) {
            browser.view.setFiles(browser.list);
        } else {
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        }
        return browser.view.lastVisible() < browser.view.count() - 1;
    });
    const double setFilesMs = steps.front();
    const std::vector<double> scrolls(steps.begin() + 1, steps.end());
    figures.push_back({"setFiles (with its painting)", setFilesMs});
    figures.push_back({"page scrolls to the end", static_cast<double>(scrolls.size()), ""});
    figures.push_back({"slowest page scroll (with its painting)", largest(scrolls)});
    figures.push_back({"median page scroll", median(scrolls)});
    figures.push_back({"slowest sort / readDir", slowestSortMs / listingMs, "x"});
    figures.push_back({"setFiles / readDir", setFilesMs / listingMs, "x"});
    figures.push_back({"slowest page scroll / readDir", largest(scrolls) / listingMs, "x"});
    figures.push_back({"peak resident memory of the run so far", peakResidentMiB(), "MiB"});
    return figures;
}

}  // namespace

void addLargeFolderCases(std::vector<GuiBenchCase>& cases) {
    for (const int files : {20000, 100000}) {
        auto dir = std::make_shared<std::string>();
        cases.push_back({"large folder: " + std::to_string(files) + " files",
                         [dir, files] {
                             if (dir->empty()) {
                                 *dir = cachedFolder("/tmp/ravinel-bench-" + std::to_string(files),
                                                     files, [files](const std::string& folder) {
                                                         writeListingFiles(folder, files);
                                                     });
                             }
                         },
                         [dir] { return browseFolder(*dir); }});
    }
}

}  // namespace ravinel::bench
