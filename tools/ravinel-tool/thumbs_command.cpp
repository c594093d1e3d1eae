#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>

#include "browse/dir_files_info.h"
#include "browse/thumb_maker.h"
#include "codec/decode_limits.h"
#include "codec/graphic_loader.h"
#include "codec/shared_spi_host.h"
#include "command_line.h"
#include "commands.h"
#include "escaped_name.h"
#include "platform/parallel_bands.h"
#include "progress_bar.h"

namespace ravinel::tool {

namespace {

struct ThumbsSettings {
    MemoryBudget* budget = nullptr;  // the decodes of every thread share it
    SpiHost* plugins = nullptr;      // one host for every thread, loading one at a time
    std::mutex* pluginLock = nullptr;
    std::string dir;
    int32_t imageSize = 100;
    LoaderChoices loader;
    bool hiQuality = true;
    bool freedesktop = false;      // through the desktop's shared thumbnails
    std::filesystem::path outDir;  // empty: no BMP files
};

// Counts shared by the threads that make the thumbnails.
struct ThumbsTally {
    std::atomic<size_t> next{0};   // the next file to take
    std::atomic<int> examined{0};  // files the makers examined
    std::atomic<int> made{0};
    std::atomic<int> done{0};
    std::atomic<int> failed{0};
};

// Takes files until none is left. Every thread has a loader and a maker of its own, which
// keep the state of the picture in hand, and its own view of the one plug-in host. Each file is
// only ever read by one thread and its thumbnail goes to a file of its own, so the output does not
// depend on the thread count. A file that fails is reported and the others go on.
void makeThumbs(const ThumbsSettings& settings, DirFilesInfo& files, ThumbsTally& tally,
                ProgressBar* progress) {
    SharedSpiHost plugins(*settings.plugins, *settings.pluginLock);
    GraphicLoader loader(&plugins);
    configureDefaultLoader(loader, settings.loader);
    loader.budget = settings.budget;
    ThumbMaker maker(loader);
    maker.dir = settings.dir;
    maker.imageSize = settings.imageSize;
    maker.hiQuality = settings.hiQuality;
    const SharedThumbCache cache = SharedThumbCache::forUser();
    if (settings.freedesktop) {
        maker.sharedCache = &cache;
    }
    const auto count = static_cast<size_t>(files.count());
    for (size_t i = tally.next++; i < count; i = tally.next++) {
        FileInfoItem& item = files.item(static_cast<int>(i));
        try {
            maker.examineFile(item);
            if (item.thumbIndex >= 0) {
                if (!settings.outDir.empty()) {
                    maker.store.at(item.thumbIndex)
                        .saveToFile((settings.outDir / (item.name + ".bmp")).string());
                }
                ++tally.made;
            }
        } catch (const std::exception& error) {
            ++tally.failed;
            if (progress != nullptr) {
                progress->clear();
            }
            std::fprintf(stderr, "ravinel-tool: %s: %s\n", escapedName(item.name).c_str(),
                         error.what());
        }
        maker.store.clear();  // a batch keeps no thumbnail it has written
        const int done = ++tally.done;
        if (progress != nullptr) {
            progress->update(done);
        }
    }
    tally.examined += maker.madeCount;
}

}  // namespace

int runThumbs(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"low", "no-color-profile", "freedesktop"},
                         {"image-size", "max-side"});
    const bool freedesktop = cl.flag("freedesktop");
    if (cl.positional().size() != 2 && !(freedesktop && cl.positional().size() == 1)) {
        throw UsageError("thumbs takes DIR and OUTDIR (OUTDIR optional with --freedesktop)");
    }
    // The threads bound the memory of their decodes together, not each its own.
    MemoryBudget budget(kDisplayDecodeBytes);
    const std::unique_ptr<Spis> plugins = searchPlugins(true);
    std::mutex pluginLock;
    ThumbsSettings settings;
    settings.budget = &budget;
    settings.plugins = plugins.get();
    settings.pluginLock = &pluginLock;
    settings.dir = folderPathOf(cl.positional()[0]);
    settings.imageSize = static_cast<int32_t>(cl.number("image-size", 100, 1, 4096));
    settings.hiQuality = !cl.flag("low");
    settings.loader = loaderChoices(cl);
    settings.freedesktop = freedesktop;
    if (cl.positional().size() == 2) {
        settings.outDir = cl.positional()[1];
        std::filesystem::create_directories(settings.outDir);
    }

    // The folder as the browser lists it, in its default order.
    DirFilesInfo files;
    files.setDir(settings.dir);
    files.sort(0);
    std::optional<ProgressBar> progress;
    if (isatty(STDERR_FILENO) != 0) {
        progress.emplace(files.count());
    }
    const auto start = std::chrono::steady_clock::now();
    ThumbsTally tally;
    // One band per thread, each taking files as it frees up, so that a slow file does not
    // hold up the others; the processing of one file then runs on its thread alone.
    forEachBand(processThreads(), 1, [&](size_t, size_t) {
        makeThumbs(settings, files, tally, progress ? &*progress : nullptr);
    });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (progress) {
        progress->clear();
    }
    std::printf("files examined: %d\nthumbnails made: %d\nfiles per second: %.1f\n",
                tally.examined.load(), tally.made.load(),
                seconds > 0 ? tally.examined.load() / seconds : 0.0);
    if (tally.failed > 0) {
        std::printf("files failed: %d\n", tally.failed.load());
        return 1;
    }
    return 0;
}

}  // namespace ravinel::tool
