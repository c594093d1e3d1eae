#pragma once

#include "archive/archive_file.h"
#include "browse/files_info.h"

namespace ravinel {

// Appends one item per member of the open-able archive that holds data: folders and
// empty files are left out. Names are the module's "/"-separated paths, sizes their low
// 32 bits, times the write time as a packed DOS date-time of local time. Archive errors
// (no module, a file no archiver knows, a broken archive) end the listing quietly with
// what was read so far. The archive is closed again in every case.
void listArchiveMembers(ArchiveFile& archive, FilesInfo& list);

// Whether the viewer shows pictures from archives of this type (LHA, ZIP and TAR).
bool showsArchivePictures(ArchiverType type);

}  // namespace ravinel
