#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ravinel {

// A file of the application that could not be written; the old file is unchanged.
class FileWriteError : public std::runtime_error {
  public:
    explicit FileWriteError(const std::string& message) : std::runtime_error(message) {}
};

// Replaces the file's content so that a crash at any moment leaves either the old or
// the new file: the bytes go to a temporary file in the same folder, reach the disk,
// and the temporary file is renamed over the target. A symbolic link is followed and
// its target replaced; an existing file keeps its permissions. Anything at the target
// that is not a regular file (a FIFO, a device, a folder) is left alone and refused.
// Temporary files that killed writers left beside the target are removed. Throws
// FileWriteError.
void writeFileAtomically(const std::string& path, std::string_view content);

}  // namespace ravinel
