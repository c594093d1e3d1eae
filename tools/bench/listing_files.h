#pragma once

#include <string>

namespace ravinel::bench {

// Writes count empty files into the folder dir (ending in "/"), with names in six camera
// and scanner styles (mixed case, digit runs of several widths, a Japanese prefix),
// sparse sizes below 100 kB and modification times spread over sixteen years: a large
// folder to list and sort. Throws std::runtime_error when a file cannot be made.
void writeListingFiles(const std::string& dir, int count);

}  // namespace ravinel::bench
