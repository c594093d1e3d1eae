#include "archive_members.h"

#include <archive_entry.h>
#include <sys/stat.h>

#include <algorithm>

#include "archiver_api.h"

namespace ravinel::archivers {

namespace {

std::string slashSeparated(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// A raw entry is a single compressed file: named after the archive without its suffix.
std::string rawEntryName(const char* path) {
    std::string name = path;
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

std::string entryName(archive* reader, archive_entry* entry, const char* path) {
    if (archive_format(reader) == ARCHIVE_FORMAT_RAW) {
        return rawEntryName(path);
    }
    const char* name = archive_entry_pathname(entry);
    if (name == nullptr) {
        name = archive_entry_pathname_utf8(entry);
    }
    return slashSeparated(name != nullptr ? name : "");
}

Member memberOf(archive* reader, archive_entry* entry, const char* path) {
    Member member;
    member.name = entryName(reader, entry, path);
    if (archive_entry_size_is_set(entry) != 0) {
        member.size = archive_entry_size(entry);
    }
    if (archive_entry_mtime_is_set(entry) != 0) {
        member.writeTime = MemberTime{archive_entry_mtime(entry), archive_entry_mtime_nsec(entry)};
    }
    if (archive_entry_birthtime_is_set(entry) != 0) {
        member.createTime =
            MemberTime{archive_entry_birthtime(entry), archive_entry_birthtime_nsec(entry)};
    }
    if (archive_entry_atime_is_set(entry) != 0) {
        member.accessTime = MemberTime{archive_entry_atime(entry), archive_entry_atime_nsec(entry)};
    }
    member.directory = archive_entry_filetype(entry) == AE_IFDIR;
    member.readOnly = (archive_entry_perm(entry) & S_IWUSR) == 0;
    const char* formatName = archive_format_name(reader);
    member.method = formatName != nullptr ? formatName : "";
    return member;
}

bool headerRead(int result) {
    return result == ARCHIVE_OK || result == ARCHIVE_WARN;
}

// Reads the member's data into buffer; 0 or an ARC_ERROR_* result.
int readMemberData(archive* reader, const Member& member, std::uint8_t* buffer,
                   std::uint32_t bufferSize, std::uint32_t& written) {
    written = 0;
    if (member.size && *member.size > static_cast<std::int64_t>(bufferSize)) {
        return ARC_ERROR_MORE_HEAP_MEMORY;
    }
    while (written < bufferSize) {
        const la_ssize_t got = archive_read_data(reader, buffer + written, bufferSize - written);
        if (got < 0) {
            return ARC_ERROR_HEADER_BROKEN;
        }
        if (got == 0) {
            break;
        }
        written += static_cast<std::uint32_t>(got);
    }
    if (written == bufferSize) {
        // A full buffer: one more byte tells whether the member was larger, without
        // decompressing the rest of it.
        std::uint8_t probe = 0;
        const la_ssize_t more = archive_read_data(reader, &probe, 1);
        if (more < 0) {
            return ARC_ERROR_HEADER_BROKEN;
        }
        if (more > 0) {
            return ARC_ERROR_MORE_HEAP_MEMORY;
        }
    }
    if (member.size && *member.size != static_cast<std::int64_t>(written)) {
        return ARC_ERROR_HEADER_BROKEN;
    }
    return 0;
}

}  // namespace

int listMembers(ModuleFormat format, const char* path, std::vector<Member>& members) {
    members.clear();
    int failure = 0;
    ArchiveReader reader = openArchiveReader(format, path, failure);
    if (!reader) {
        return failure;
    }
    archive_entry* entry = nullptr;
    int result = ARCHIVE_OK;
    while (headerRead(result = archive_read_next_header(reader.get(), &entry))) {
        if (!isModuleEntry(format, reader.get())) {
            return ARC_ERROR_NOT_ARC_FILE;
        }
        if (members.size() == kMaxMembers) {
            return ARC_ERROR_HEADER_BROKEN;
        }
        members.push_back(memberOf(reader.get(), entry, path));
        if (archive_format(reader.get()) == ARCHIVE_FORMAT_RAW) {
            // A raw entry has no end but that of its data: reading it to learn where the
            // next header is would decompress it all.
            return 0;
        }
        if (archive_read_data_skip(reader.get()) != ARCHIVE_OK) {
            return ARC_ERROR_HEADER_BROKEN;
        }
    }
    if (result != ARCHIVE_EOF) {
        return members.empty() ? ARC_ERROR_NOT_ARC_FILE : ARC_ERROR_HEADER_BROKEN;
    }
    return 0;
}

int extractMember(ModuleFormat format, const char* path, const std::string& name,
                  std::uint8_t* buffer, std::uint32_t bufferSize, MemberApproval approve,
                  std::uint32_t& written, Member& member) {
    written = 0;
    int failure = 0;
    ArchiveReader reader = openArchiveReader(format, path, failure);
    if (!reader) {
        return failure;
    }
    const std::string wanted = slashSeparated(name);
    archive_entry* entry = nullptr;
    int result = ARCHIVE_OK;
    while (headerRead(result = archive_read_next_header(reader.get(), &entry))) {
        if (!isModuleEntry(format, reader.get())) {
            return ARC_ERROR_NOT_ARC_FILE;
        }
        member = memberOf(reader.get(), entry, path);
        if (member.name == wanted && !member.directory) {
            if (approve != nullptr && !approve(member)) {
                return ARC_ERROR_USER_CANCEL;
            }
            return readMemberData(reader.get(), member, buffer, bufferSize, written);
        }
        if (archive_format(reader.get()) == ARCHIVE_FORMAT_RAW) {
            break;
        }
        if (archive_read_data_skip(reader.get()) != ARCHIVE_OK) {
            return ARC_ERROR_HEADER_BROKEN;
        }
    }
    if (headerRead(result) || result == ARCHIVE_EOF) {
        return ARC_ERROR_NOT_EXIST;
    }
    return ARC_ERROR_HEADER_BROKEN;
}

int archiveKind(ModuleFormat format, const char* path) {
    int failure = 0;
    ArchiveReader reader = openArchiveReader(format, path, failure);
    if (!reader) {
        return failure == ARC_ERROR_NOT_ARC_FILE ? 0 : -1;
    }
    archive_entry* entry = nullptr;
    if (!headerRead(archive_read_next_header(reader.get(), &entry)) ||
        !isModuleEntry(format, reader.get())) {
        return 0;
    }
    if (format != ModuleFormat::Tar) {
        return 1;
    }
    const int filter = archive_filter_code(reader.get(), 0);
    switch (archive_format(reader.get()) & ARCHIVE_FORMAT_BASE_MASK) {
        case ARCHIVE_FORMAT_TAR:
            return filter == ARCHIVE_FILTER_NONE       ? 1
                   : filter == ARCHIVE_FILTER_GZIP     ? 2
                   : filter == ARCHIVE_FILTER_COMPRESS ? 3
                   : filter == ARCHIVE_FILTER_BZIP2    ? 6
                                                       : 0;
        case ARCHIVE_FORMAT_RAW:
            return filter == ARCHIVE_FILTER_GZIP       ? 4
                   : filter == ARCHIVE_FILTER_COMPRESS ? 5
                   : filter == ARCHIVE_FILTER_BZIP2    ? 7
                                                       : 0;
        case ARCHIVE_FORMAT_CPIO:
            return 32;
        case ARCHIVE_FORMAT_AR:
            return 48;
        default:
            return 0;
    }
}

}  // namespace ravinel::archivers
