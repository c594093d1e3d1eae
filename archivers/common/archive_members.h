// Listing the members of an archive and extracting one of them into memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "module_format.h"

namespace ravinel::archivers {

struct MemberTime {
    std::int64_t seconds = 0;  // since 1970-01-01 UTC
    std::int64_t nanoseconds = 0;
};

struct Member {
    std::string name;  // "/"-separated, as the archive lists it
    std::optional<std::int64_t> size;
    std::optional<MemberTime> writeTime;
    std::optional<MemberTime> createTime;
    std::optional<MemberTime> accessTime;
    bool directory = false;
    bool readOnly = false;
    std::string method;
};

// More members than this are refused: a hostile archive must not grow the list unbounded.
inline constexpr std::size_t kMaxMembers = 1 << 18;

// Fills members from the archive; 0 or an ARC_ERROR_* result.
int listMembers(ModuleFormat format, const char* path, std::vector<Member>& members);

// Called with the member about to be extracted; false stops the extraction.
using MemberApproval = bool (*)(const Member& member);

// Extracts the member named exactly so (after "\" became "/") into buffer, never writing
// past bufferSize. A member larger than the buffer gives ARC_ERROR_MORE_HEAP_MEMORY with
// at most bufferSize bytes written. written gets the bytes written, member the record.
int extractMember(ModuleFormat format, const char* path, const std::string& name,
                  std::uint8_t* buffer, std::uint32_t bufferSize, MemberApproval approve,
                  std::uint32_t& written, Member& member);

// The kind of archive by the interface's numbering (see GetArchiveType).
int archiveKind(ModuleFormat format, const char* path);

}  // namespace ravinel::archivers
