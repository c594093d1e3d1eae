#include <filesystem>
#include <iostream>

#include "browse/file_info_item.h"
#include "browse/thumb_maker.h"
#include "browse/vix_catalog.h"
#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"

namespace ravinel::tool {

std::string folderPathOf(const std::filesystem::path& folder) {
    std::string path = std::filesystem::absolute(folder).lexically_normal().string();
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path;
}

int runThumb(const std::vector<std::string>& args) {
    const CommandLine cl(args,
                         {"low", "use-catalog", "catalog-first", "no-color-profile", "freedesktop"},
                         {"image-size", "screen-bits", "catalog-home", "max-side"});
    const bool freedesktop = cl.flag("freedesktop");
    if (cl.positional().size() != 2 && !(freedesktop && cl.positional().size() == 1)) {
        throw UsageError("thumb takes FILE and OUT.bmp (OUT.bmp optional with --freedesktop)");
    }
    const std::filesystem::path file = cl.positional()[0];
    // The browser's thumbnails come through the plug-ins too.
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    configureDefaultLoader(loader, loaderChoices(cl));
    ThumbMaker maker(loader);
    maker.dir = folderPathOf(std::filesystem::absolute(file).parent_path());
    maker.imageSize = static_cast<int32_t>(cl.number("image-size", 100, 1, 4096));
    maker.hiQuality = !cl.flag("low");
    maker.thumbPixelFormat =
        thumbPixelFormatForScreenBits(static_cast<int>(cl.number("screen-bits", 24, 1, 32)));
    maker.useCatalog = cl.flag("use-catalog");
    maker.useCatalogFirst = cl.flag("catalog-first");
    if (maker.useCatalog) {
        const std::string home = cl.option("catalog-home", "");
        maker.catalogPath = findCatalog(maker.dir, home.empty() ? home : folderPathOf(home));
    }

    const SharedThumbCache cache = SharedThumbCache::forUser();
    if (freedesktop) {
        maker.sharedCache = &cache;
    }

    FileInfoItem item;
    item.name = file.filename().string();
    maker.examineFile(item);
    std::cout << maker.infoText(item) << "\n";
    if (item.thumbIndex < 0) {
        return 1;
    }
    if (cl.positional().size() == 2) {
        maker.store.at(item.thumbIndex).saveToFile(cl.positional()[1]);
    }
    return 0;
}

}  // namespace ravinel::tool
