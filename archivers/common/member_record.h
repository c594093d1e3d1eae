// The interface's records filled from a member.
#pragma once

#include <optional>

#include "archive_members.h"
#include "archiver_api.h"

namespace ravinel::archivers {

// The FILETIME of a time; none when the time lies before 1601.
std::optional<ArcFileTime> fileTimeOf(const MemberTime& time);

// Writes ARC_INDIVIDUAL_INFO_SIZE bytes to info.
void writeIndividualInfo(const Member& member, ArcIndividualInfo* info);

ArcEnumMemberInfo64 enumMemberInfoOf(const Member& member);

// DOS attribute bits: 0x01 read-only, 0x10 folder, 0x20 archive.
std::uint16_t dosAttributesOf(const Member& member);

}  // namespace ravinel::archivers
