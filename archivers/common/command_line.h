// The command line that ExtractMem receives: switches, the archive, member names.
#pragma once

#include <string>
#include <vector>

#include "module_format.h"

namespace ravinel::archivers {

struct ExtractCommand {
    std::string archivePath;
    std::vector<std::string> memberNames;  // "/"-separated
};

// Words starting with "-" outside quotes are switches and are ignored, except that the TAR
// module reads the archive from "-f" and skips the folder after "-o". The first other word
// is the archive (unless "-f" named it), the rest member names. The ZIP module undoes the
// "[[]" and "[-]" escapes in both.
ExtractCommand parseExtractCommand(ModuleFormat format, const std::string& commandLine);

}  // namespace ravinel::archivers
