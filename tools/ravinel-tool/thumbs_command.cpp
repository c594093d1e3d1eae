#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "browse/dir_files_info.h"
#include "browse/thumb_maker.h"
#include "browse/thumb_workers.h"
#include "codec/decode_limits.h"
#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "escaped_name.h"
#include "platform/parallel_bands.h"
#include "progress_bar.h"

namespace ravinel::tool {

namespace {

struct ThumbsTally {
    int examined = 0;  // files the makers examined
    int made = 0;
    int failed = 0;
};

void reportFailure(const std::string& name, const char* message, ThumbsTally& tally,
                   ProgressBar* progress) {
    ++tally.failed;
    if (progress != nullptr) {
        progress->clear();
    }
    std::fprintf(stderr, "ravinel-tool: %s: %s\n", escapedName(name).c_str(), message);
}

// What one finished file adds: its thumbnail written to outDir (empty: none written), or
// the failure of its examining or its writing reported, the other files going on.
void record(const ThumbWorkers::Finished& finished, const std::string& name,
            const std::filesystem::path& outDir, ThumbsTally& tally, ProgressBar* progress) {
    if (!finished.error.empty()) {
        reportFailure(name, finished.error.c_str(), tally, progress);
        return;
    }
    ++tally.examined;
    if (!finished.made.thumb) {
        return;
    }
    try {
        if (!outDir.empty()) {
            finished.made.thumb->saveToFile((outDir / (name + ".bmp")).string());
        }
        ++tally.made;
    } catch (const std::exception& error) {
        reportFailure(name, error.what(), tally, progress);
    }
}

// The workers make the thumbnails of the files, a thread per file at a time, each thread
// taking the next file when it is free; this thread takes them as they finish and writes
// them, so that the output has one writer. The bytes do not depend on the thread count.
ThumbsTally makeThumbs(const ThumbMaker& maker, const GraphicLoader& loader,
                       const DirFilesInfo& files, SpiHost* plugins,
                       const std::filesystem::path& outDir, ProgressBar* progress) {
    std::mutex pluginLock;
    std::mutex mutex;
    std::condition_variable told;
    int finished = 0;
    ThumbWorkers workers(processThreads(), plugins, pluginLock, [&] {
        const std::lock_guard hold(mutex);
        ++finished;
        told.notify_one();
    });
    std::vector<std::string> names;
    for (int i = 0; i < files.count(); ++i) {
        names.push_back(files.item(i).name);
    }
    workers.start(maker, loader, std::move(names), 0);
    ThumbsTally tally;
    // A thumbnail is queued before the workers tell of it, so each one told can be taken.
    for (int done = 0; done < files.count();) {
        {
            std::unique_lock hold(mutex);
            told.wait(hold, [&] { return finished > done; });
        }
        const ThumbWorkers::Finished result = workers.take().value();
        record(result, files.item(result.position).name, outDir, tally, progress);
        ++done;
        if (progress != nullptr) {
            progress->update(done);
        }
    }
    return tally;
}

}  // namespace

int runThumbs(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"low", "no-color-profile", "freedesktop"},
                         {"image-size", "max-side"});
    const bool freedesktop = cl.flag("freedesktop");
    if (cl.positional().size() != 2 && !(freedesktop && cl.positional().size() == 1)) {
        throw UsageError("thumbs takes DIR and OUTDIR (OUTDIR optional with --freedesktop)");
    }
    // The choices every worker's loader and maker take. The threads bound the memory of
    // their decodes together, not each its own.
    MemoryBudget budget(kDisplayDecodeBytes);
    const std::unique_ptr<Spis> plugins = searchPlugins(true);
    GraphicLoader loader(nullptr);
    configureDefaultLoader(loader, loaderChoices(cl));
    loader.budget = &budget;
    ThumbMaker maker(loader);
    maker.dir = folderPathOf(cl.positional()[0]);
    maker.imageSize = static_cast<int32_t>(cl.number("image-size", 100, 1, 4096));
    maker.hiQuality = !cl.flag("low");
    const SharedThumbCache cache = SharedThumbCache::forUser();
    if (freedesktop) {
        maker.sharedCache = &cache;
    }
    std::filesystem::path outDir;  // empty: no BMP files
    if (cl.positional().size() == 2) {
        outDir = cl.positional()[1];
        std::filesystem::create_directories(outDir);
    }

    // The folder as the browser lists it, in its default order.
    DirFilesInfo files;
    files.setDir(maker.dir);
    files.sort(0);
    std::optional<ProgressBar> progress;
    if (isatty(STDERR_FILENO) != 0) {
        progress.emplace(files.count());
    }
    const auto start = std::chrono::steady_clock::now();
    const ThumbsTally tally =
        makeThumbs(maker, loader, files, plugins.get(), outDir, progress ? &*progress : nullptr);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (progress) {
        progress->clear();
    }
    std::printf("files examined: %d\nthumbnails made: %d\nfiles per second: %.1f\n", tally.examined,
                tally.made, seconds > 0 ? tally.examined / seconds : 0.0);
    if (tally.failed > 0) {
        std::printf("files failed: %d\n", tally.failed);
        return 1;
    }
    return 0;
}

}  // namespace ravinel::tool
