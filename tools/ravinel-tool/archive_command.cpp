#include <iostream>

#include "archive/archive_file.h"
#include "browse/date_time_separators.h"
#include "codec/graphic_load_info.h"
#include "codec/graphic_loader.h"
#include "command_line.h"
#include "commands.h"
#include "dib/nk_dib.h"

namespace ravinel::tool {

namespace {

int listArchive(const std::string& path) {
    ArchiveFile archive;
    archive.setFileName(path);
    setViewingSwitches(archive.options);
    if (archive.openArchive(nullptr, 0) != 0) {
        std::cerr << "ravinel-tool: cannot open " << path << "\n";
        return 1;
    }
    IndividualInfo64 info;
    for (int32_t result = archive.findFirst("*", info); result == 0;
         result = archive.findNext(info)) {
        const int32_t packed =
            static_cast<int32_t>((static_cast<uint32_t>(info.info.wDate) << 16) | info.info.wTime);
        std::cout << info.info.szFileName << "\t" << info.originalSize << "\t"
                  << formatDosDateTime(packed, userDateTimeSeparators()) << "\n";
    }
    archive.closeArchive();
    return 0;
}

int loadMember(const CommandLine& cl) {
    const std::unique_ptr<Spis> spis = searchPlugins(true);
    GraphicLoader loader(spis.get());
    loader.inJpgFirst = cl.flag("jpg-first");
    loader.inBmpFirst = cl.flag("bmp-first");
    NkDib picture;
    GraphicLoadInfo info;
    loader.loadFromArchive(picture, cl.positional()[1], cl.positional()[2], false, info);
    return printLoadInfo(info);
}

}  // namespace

int runArchive(const std::vector<std::string>& args) {
    const CommandLine cl(args, {"jpg-first", "bmp-first"}, {});
    const std::vector<std::string>& words = cl.positional();
    int status = 0;
    if (words.size() == 2 && words[0] == "list") {
        status = listArchive(words[1]);
    } else if (words.size() == 3 && words[0] == "info") {
        status = loadMember(cl);
    } else {
        throw UsageError("archive takes list ARC or info ARC MEMBER");
    }
    freeAllArchiverDlls();
    return status;
}

}  // namespace ravinel::tool
