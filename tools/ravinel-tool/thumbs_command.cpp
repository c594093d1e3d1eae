#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "browse/file_info_item.h"
#include "browse/thumb_maker.h"
#include "command_line.h"
#include "commands.h"
#include "image/graphic_loader.h"

namespace ravinel::tool {

namespace {

// The regular files of a folder (links followed), sorted by name.
std::vector<std::string> regularFileNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::error_code error;
        if (entry.is_regular_file(error)) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

int runThumbs(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"low"}, {"image-size"});
    if (cl.positional().size() != 2) {
        throw UsageError("thumbs takes DIR and OUTDIR");
    }
    GraphicLoader loader(nullptr);
    configureDefaultLoader(loader);
    ThumbMaker maker(loader);
    maker.dir = folderPathOf(cl.positional()[0]);
    maker.imageSize = static_cast<int32_t>(cl.number("image-size", 100, 1, 4096));
    maker.hiQuality = !cl.flag("low");
    const std::filesystem::path outDir = cl.positional()[1];
    std::filesystem::create_directories(outDir);

    const std::vector<std::string> names = regularFileNames(maker.dir);
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    int made = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        FileInfoItem item;
        item.name = names[i];
        maker.examineFile(item);
        if (item.thumbIndex >= 0) {
            maker.store.at(item.thumbIndex).saveToFile((outDir / (item.name + ".bmp")).string());
            ++made;
            maker.store.clear();  // a batch keeps no thumbnail it has written
        }
        if (showProgress) {
            std::fprintf(stderr, "\r%zu/%zu", i + 1, names.size());
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (showProgress) {
        std::fprintf(stderr, "\n");
    }
    std::printf("files examined: %d\nthumbnails made: %d\nfiles per second: %.1f\n",
                maker.madeCount, made, seconds > 0 ? maker.madeCount / seconds : 0.0);
    return 0;
}

}  // namespace ravinel::tool
