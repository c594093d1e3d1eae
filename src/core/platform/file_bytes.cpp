#include "platform/file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <system_error>

#include "platform/regular_file.h"

namespace ravinel {

namespace {

// Call right after the failing system call, before errno can change.
FileReadError systemError(const char* what, const std::string& path) {
    const int error = errno;
    return FileReadError(std::string(what) + ": " + path + ": " +
                         std::generic_category().message(error));
}

}  // namespace

uint64_t fileByteSize(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        throw systemError("Cannot open file", path);
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileReadError("Not a regular file: " + path);
    }
    return static_cast<uint64_t>(info.st_size);
}

std::vector<uint8_t> readFileBytes(const std::string& path, uint64_t maxBytes) {
    const RegularFile file(path);
    if (!file.isOpen()) {
        if (file.openError() == 0) {
            throw FileReadError("Not a regular file: " + path);
        }
        throw FileReadError("Cannot open file: " + path + ": " + file.failureText());
    }
    if (file.size() > maxBytes) {
        throw FileReadError("File is too large: " + path);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(file.size()));
    // Another program may shorten the file meanwhile: keep what could be read.
    const int64_t got = file.readAt(bytes.data(), bytes.size(), 0);
    if (got < 0) {
        throw systemError("Cannot read file", path);
    }
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

}  // namespace ravinel
