#pragma once

#include <string>

#include "archive/archiver_type.h"

namespace ravinel {

// The type an archive's name stands for (its extension, in any case); for ".exe" names,
// which may be self-extracting archives, the type of the content; atNone for unknown
// extensions.
ArchiverType archiverTypeOfName(const std::string& path);

// The type the modules recognise in the file: the TAR module's answer, overridden by
// each later probe that accepts the file (RAR, ARJ, ZIP, BGA, YZ1, CAB, LHA), so LHA
// wins. A missing module or any failure counts as a refusal. atNone when none accepts.
ArchiverType archiverTypeOfContent(const std::string& path);

}  // namespace ravinel
