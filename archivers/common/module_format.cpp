#include "module_format.h"

#include <sys/stat.h>

#include "archiver_api.h"

namespace ravinel::archivers {

namespace {

constexpr size_t kReadBlockBytes = 64 * 1024;

void supportFormats(ModuleFormat format, archive* reader) {
    switch (format) {
        case ModuleFormat::Lha:
            archive_read_support_format_lha(reader);
            break;
        case ModuleFormat::Zip:
            archive_read_support_format_zip(reader);
            break;
        case ModuleFormat::Tar:
            archive_read_support_format_tar(reader);
            archive_read_support_format_cpio(reader);
            archive_read_support_format_ar(reader);
            archive_read_support_format_raw(reader);
            archive_read_support_filter_gzip(reader);
            archive_read_support_filter_compress(reader);
            archive_read_support_filter_bzip2(reader);
            // RPM payloads are cpio under one of these.
            archive_read_support_filter_rpm(reader);
            archive_read_support_filter_xz(reader);
            archive_read_support_filter_lzma(reader);
            archive_read_support_filter_zstd(reader);
            break;
        case ModuleFormat::Cab:
            archive_read_support_format_cab(reader);
            break;
        case ModuleFormat::Rar:
            archive_read_support_format_rar(reader);
            archive_read_support_format_rar5(reader);
            break;
        case ModuleFormat::SevenZip:
            archive_read_support_format_7zip(reader);
            break;
    }
}

}  // namespace

ArchiveReader openArchiveReader(ModuleFormat format, const char* path, int& failure) {
    failure = ARC_ERROR_ARC_FILE_OPEN;
    struct stat status {};
    if (path == nullptr || stat(path, &status) != 0 || !S_ISREG(status.st_mode)) {
        return nullptr;
    }
    ArchiveReader reader(archive_read_new());
    if (!reader) {
        return nullptr;
    }
    supportFormats(format, reader.get());
    if (archive_read_open_filename(reader.get(), path, kReadBlockBytes) != ARCHIVE_OK) {
        // The file exists and is a regular file: what failed is the format.
        failure = ARC_ERROR_NOT_ARC_FILE;
        return nullptr;
    }
    failure = 0;
    return reader;
}

bool isModuleEntry(ModuleFormat format, archive* reader) {
    if (format != ModuleFormat::Tar || archive_format(reader) != ARCHIVE_FORMAT_RAW) {
        return true;
    }
    return archive_filter_code(reader, 0) != ARCHIVE_FILTER_NONE;
}

}  // namespace ravinel::archivers
