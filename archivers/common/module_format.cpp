#include "module_format.h"

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
    if (path == nullptr) {
        return {nullptr, nullptr};
    }
    auto file = std::make_unique<RegularFile>(path);
    if (!file->isOpen()) {
        return {nullptr, nullptr};
    }
    const int fd = file->fd();
    ArchiveReader opened(std::move(file), archive_read_new());
    if (!opened) {
        return {nullptr, nullptr};
    }
    supportFormats(format, opened.get());
    if (archive_read_open_fd(opened.get(), fd, kReadBlockBytes) != ARCHIVE_OK) {
        // The file exists and is a regular file: what failed is the format.
        failure = ARC_ERROR_NOT_ARC_FILE;
        return {nullptr, nullptr};
    }
    failure = 0;
    return opened;
}

bool isModuleEntry(ModuleFormat format, archive* reader) {
    if (format != ModuleFormat::Tar || archive_format(reader) != ARCHIVE_FORMAT_RAW) {
        return true;
    }
    return archive_filter_code(reader, 0) != ARCHIVE_FILTER_NONE;
}

}  // namespace ravinel::archivers
