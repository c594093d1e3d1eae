#pragma once

#include <fcntl.h>
#include <sys/stat.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "tests/temp_dir.h"

namespace ravinel::testing {

// Writes a file of size bytes into folder and, when mtime is given (seconds since 1970),
// sets its modification time.
inline void addFile(const TempDir& folder, const std::string& name, size_t size = 0,
                    time_t mtime = 0) {
    const std::vector<uint8_t> bytes(size, 'x');
    const std::string path = folder.write(name, bytes);
    const timespec times[2] = {{mtime, 0}, {mtime, 0}};
    if (mtime != 0 && utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        throw std::runtime_error("cannot set the time of " + path);
    }
}

}  // namespace ravinel::testing
