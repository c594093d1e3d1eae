#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "browse/dir_files_info.h"
#include "command_line.h"
#include "commands.h"
#include "escaped_name.h"

namespace ravinel::tool {

int runList(const std::vector<std::string>& args) {
    const CommandLine cl(args, {}, {"sort"});
    if (cl.positional().size() != 1) {
        throw UsageError("list takes one DIR");
    }
    const int mode = static_cast<int>(cl.number("sort", 0, 0, 255));
    std::string dir = cl.positional()[0];
    std::error_code error;
    // The list itself stays empty for a folder it cannot read; the tool says why.
    if (!std::filesystem::is_directory(dir, error) || access(dir.c_str(), R_OK | X_OK) != 0) {
        throw std::runtime_error("cannot list folder " + dir);
    }
    if (dir.back() != '/') {
        dir += '/';
    }
    DirFilesInfo files;
    files.setDir(dir);
    files.sort(mode);
    for (int position = 0; position < files.count(); ++position) {
        const FileInfoItem& item = files.item(position);
        std::cout << escapedName(item.name) << '\t' << item.sizeText() << '\t' << item.timeText()
                  << '\n';
    }
    return 0;
}

}  // namespace ravinel::tool
