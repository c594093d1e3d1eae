// Which archive formats a module reads, and how libarchive is restricted to them.
#pragma once

#include <archive.h>

#include <memory>

namespace ravinel::archivers {

enum class ModuleFormat { Lha, Zip, Tar, Cab, Rar, SevenZip };

struct ArchiveReadFree {
    void operator()(archive* reader) const { archive_read_free(reader); }
};
using ArchiveReader = std::unique_ptr<archive, ArchiveReadFree>;

// A reader restricted to the module's formats, opened on the file; NULL when the file
// cannot be opened (failure ARC_ERROR_ARC_FILE_OPEN) or is not of those formats
// (ARC_ERROR_NOT_ARC_FILE).
ArchiveReader openArchiveReader(ModuleFormat format, const char* path, int& failure);

// True when the entry the reader just read belongs to the module: the TAR module reads a
// single compressed file as a raw entry, but an uncompressed file of unknown kind is none.
bool isModuleEntry(ModuleFormat format, archive* reader);

}  // namespace ravinel::archivers
