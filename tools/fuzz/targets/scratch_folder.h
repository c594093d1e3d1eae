// A private folder for the surfaces that read files, made once per process and removed
// at its end.
#pragma once

#include <string>

#include "tools/fuzz/targets/fuzz_targets.h"

namespace ravinel::fuzz {

// The folder's path, ending in "/".
const std::string& scratchFolder();

// Writes data as the file name of the scratch folder and returns its path.
std::string writeScratchFile(const std::string& name, FuzzInput data);

}  // namespace ravinel::fuzz
