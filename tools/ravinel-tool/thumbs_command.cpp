#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "browse/dir_files_info.h"
#include "browse/thumb_maker.h"
#include "command_line.h"
#include "commands.h"
#include "image/graphic_loader.h"

namespace ravinel::tool {

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

    // The folder as the browser lists it, in its default order.
    DirFilesInfo files;
    files.setDir(maker.dir);
    files.sort(0);
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const auto start = std::chrono::steady_clock::now();
    int made = 0;
    for (int i = 0; i < files.count(); ++i) {
        FileInfoItem& item = files.item(i);
        maker.examineFile(item);
        if (item.thumbIndex >= 0) {
            maker.store.at(item.thumbIndex).saveToFile((outDir / (item.name + ".bmp")).string());
            ++made;
            maker.store.clear();  // a batch keeps no thumbnail it has written
        }
        if (showProgress) {
            std::fprintf(stderr, "\r%d/%d", i + 1, files.count());
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
