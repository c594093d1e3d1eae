// The exports of one archiver module, compiled once per module with ARC_PREFIX (the
// export prefix) and ARC_FORMAT (a ModuleFormat enumerator).
#include <new>

#include "archive_members.h"
#include "archiver_api.h"
#include "command_line.h"
#include "member_record.h"
#include "wild_name.h"

namespace {

using namespace ravinel::archivers;

constexpr ModuleFormat kFormat = ModuleFormat::ARC_FORMAT;

// An open archive: its members, read once, and the position of the search.
struct OpenArchive {
    std::vector<Member> members;
    std::string wildName;
    std::size_t next = 0;
    const Member* current = nullptr;
};

// The member-enumeration callback of ExtractMem; the host makes its calls one at a time.
ArcEnumMembersProc64 enumMembersProc = nullptr;

bool approveMember(const Member& member) {
    if (enumMembersProc == nullptr) {
        return true;
    }
    const ArcEnumMemberInfo64 info = enumMemberInfoOf(member);
    return enumMembersProc(&info) != 0;
}

int32_t findFrom(HARC handle, ArcIndividualInfo* info) {
    if (handle == nullptr) {
        return ARC_ERROR_HARC_ISNOT_OPENED;
    }
    auto* open = static_cast<OpenArchive*>(handle);
    while (open->next < open->members.size()) {
        const Member& member = open->members[open->next++];
        if (wildNameMatches(open->wildName, member.name)) {
            open->current = &member;
            if (info != nullptr) {
                writeIndividualInfo(member, info);
            }
            return 0;
        }
    }
    open->current = nullptr;
    return -1;
}

const Member* currentMember(HARC handle) {
    return handle != nullptr ? static_cast<OpenArchive*>(handle)->current : nullptr;
}

int32_t memberTime(HARC handle, std::optional<MemberTime> Member::*which, ArcFileTime* time) {
    const Member* member = currentMember(handle);
    if (member == nullptr || time == nullptr || !(member->*which)) {
        return 0;
    }
    const auto fileTime = fileTimeOf(*(member->*which));
    if (!fileTime) {
        return 0;
    }
    *time = *fileTime;
    return 1;
}

int32_t memberSize(HARC handle, int64_t* size) {
    const Member* member = currentMember(handle);
    if (member == nullptr || size == nullptr || !member->size) {
        return 0;
    }
    *size = *member->size;
    return 1;
}

}  // namespace

#define ARC_EXPORT_NAME_JOIN(prefix, name) prefix##name
#define ARC_EXPORT_NAME(prefix, name) ARC_EXPORT_NAME_JOIN(prefix, name)
#define ARC_NAME(name) ARC_EXPORT_NAME(ARC_PREFIX, name)
#define ARC_DECLARE_EXPORTS_OF(prefix) ARC_DECLARE_EXPORTS(prefix)

extern "C" {

ARC_DECLARE_EXPORTS_OF(ARC_PREFIX)

// Nothing that writes is supported, and listing goes through FindFirst/FindNext.
int32_t ARC_PREFIX(ArcWindow, const char*, char* output, uint32_t outputSize) {
    if (output != nullptr && outputSize > 0) {
        output[0] = '\0';
    }
    return ARC_ERROR_COMMAND_NAME;
}

HARC ARC_NAME(OpenArchive)(ArcWindow, const char* archivePath, uint32_t) {
    auto* open = new (std::nothrow) OpenArchive;
    if (open == nullptr) {
        return nullptr;
    }
    try {
        if (listMembers(kFormat, archivePath, open->members) != 0) {
            delete open;
            return nullptr;
        }
    } catch (const std::bad_alloc&) {
        delete open;
        return nullptr;
    }
    return open;
}

int32_t ARC_NAME(CloseArchive)(HARC archive) {
    if (archive == nullptr) {
        return ARC_ERROR_HARC_ISNOT_OPENED;
    }
    delete static_cast<OpenArchive*>(archive);
    return 0;
}

int32_t ARC_NAME(FindFirst)(HARC archive, const char* wildName, ArcIndividualInfo* info) {
    if (archive == nullptr) {
        return ARC_ERROR_HARC_ISNOT_OPENED;
    }
    auto* open = static_cast<OpenArchive*>(archive);
    open->wildName = wildName != nullptr ? wildName : "*";
    open->next = 0;
    return findFrom(archive, info);
}

int32_t ARC_NAME(FindNext)(HARC archive, ArcIndividualInfo* info) {
    return findFrom(archive, info);
}

int32_t ARC_NAME(CheckArchive)(const char* archivePath, int32_t) {
    try {
        std::vector<Member> members;
        return listMembers(kFormat, archivePath, members) == 0 ? 1 : 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int32_t ARC_NAME(GetArchiveType)(const char* archivePath) {
    return archiveKind(kFormat, archivePath);
}

int32_t ARC_NAME(ExtractMem)(ArcWindow, const char* commandLine, uint8_t* buffer,
                             uint32_t bufferSize, int64_t* time, uint16_t* attribute,
                             uint32_t* writtenSize) {
    if (writtenSize != nullptr) {
        *writtenSize = 0;
    }
    if (commandLine == nullptr || (buffer == nullptr && bufferSize > 0)) {
        return ARC_ERROR_NULL_POINTER;
    }
    try {
        const ExtractCommand command = parseExtractCommand(kFormat, commandLine);
        if (command.archivePath.empty() || command.memberNames.size() != 1) {
            return ARC_ERROR_ILLEGAL_PARAMETER;
        }
        uint32_t written = 0;
        Member member;
        const int result =
            extractMember(kFormat, command.archivePath.c_str(), command.memberNames.front(), buffer,
                          bufferSize, approveMember, written, member);
        if (writtenSize != nullptr) {
            *writtenSize = written;
        }
        if (result == 0 && time != nullptr) {
            *time = member.writeTime ? member.writeTime->seconds : 0;
        }
        if (result == 0 && attribute != nullptr) {
            *attribute = dosAttributesOf(member);
        }
        return result;
    } catch (const std::bad_alloc&) {
        return ARC_ERROR_MORE_HEAP_MEMORY;
    }
}

int32_t ARC_NAME(SetOwnerWindowEx)(ArcWindow, ArcOwnerWindowProc) {
    return 1;
}

int32_t ARC_NAME(KillOwnerWindowEx)(ArcWindow) {
    return 1;
}

int32_t ARC_NAME(GetWriteTimeEx)(HARC archive, ArcFileTime* time) {
    return memberTime(archive, &Member::writeTime, time);
}

int32_t ARC_NAME(GetCreateTimeEx)(HARC archive, ArcFileTime* time) {
    return memberTime(archive, &Member::createTime, time);
}

int32_t ARC_NAME(GetAccessTimeEx)(HARC archive, ArcFileTime* time) {
    return memberTime(archive, &Member::accessTime, time);
}

int32_t ARC_NAME(GetOriginalSizeEx)(HARC archive, int64_t* size) {
    return memberSize(archive, size);
}

// The stored size is not known apart from the original size.
int32_t ARC_NAME(GetCompressedSizeEx)(HARC archive, int64_t* size) {
    return memberSize(archive, size);
}

int32_t ARC_NAME(SetEnumMembersProc64)(ArcEnumMembersProc64 proc, uint32_t) {
    enumMembersProc = proc;
    return 1;
}

int32_t ARC_NAME(ClearEnumMembersProc64)(void) {
    enumMembersProc = nullptr;
    return 1;
}

}  // extern "C"
