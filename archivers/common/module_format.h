// Which archive formats a module reads, and how libarchive is restricted to them.
#pragma once

#include <archive.h>

#include <memory>

#include "platform/regular_file.h"

namespace ravinel::archivers {

enum class ModuleFormat { Lha, Zip, Tar, Cab, Rar, SevenZip };

struct ArchiveReadFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};

// A libarchive reader and the file it reads, which stays open as long as the reader.
class ArchiveReader {
  public:
    ArchiveReader(std::unique_ptr<RegularFile> file, archive* reader)
        : file_(std::move(file)), reader_(reader) {}

    archive* get() const { return reader_.get(); }
    explicit operator bool() const { return reader_ != nullptr; }

  private:
    std::unique_ptr<RegularFile> file_;  // declared first: closed after the reader is freed
    std::unique_ptr<archive, ArchiveReadFree> reader_;
};

// A reader restricted to the module's formats, opened on the file; empty when the path
// is no regular file or cannot be opened (failure ARC_ERROR_ARC_FILE_OPEN) or the file is
// not of those formats (ARC_ERROR_NOT_ARC_FILE).
ArchiveReader openArchiveReader(ModuleFormat format, const char* path, int& failure);

// True when the entry the reader just read belongs to the module: the TAR module reads a
// single compressed file as a raw entry, but an uncompressed file of unknown kind is none.
bool isModuleEntry(ModuleFormat format, archive* reader);

}  // namespace ravinel::archivers
