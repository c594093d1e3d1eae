#include "image/file_bytes.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace ravinel {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw systemError("Cannot open file", path);
    }
    struct stat info {};
    if (::fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw FileReadError("Not a regular file: " + path);
    }
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size > maxBytes) {
        throw FileReadError("File is too large: " + path);
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    // Another program may shorten the file meanwhile: keep what could be read.
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    if (std::ferror(file.get())) {
        throw systemError("Cannot read file", path);
    }
    return bytes;
}

}  // namespace ravinel
