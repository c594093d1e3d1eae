#include "member_record.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace ravinel::archivers {

namespace {

constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kFileTimeTicksPerSecond = 10000000;

std::uint32_t low32(const std::optional<std::int64_t>& size) {
    return size ? static_cast<std::uint32_t>(*size) : 0;
}

// DOS date and time of the local time; 0 and 0 outside 1980..2107.
void writeDosDateTime(const std::optional<MemberTime>& time, ArcIndividualInfo& info) {
    if (!time) {
        return;
    }
    const std::time_t seconds = static_cast<std::time_t>(time->seconds);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr || local.tm_year < 80 || local.tm_year > 207) {
        return;
    }
    info.wDate = static_cast<std::uint16_t>(((local.tm_year - 80) << 9) |
                                            ((local.tm_mon + 1) << 5) | local.tm_mday);
    info.wTime = static_cast<std::uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) |
                                            (local.tm_sec / 2));
}

void copyText(const std::string& text, char* target, std::size_t capacity) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

}  // namespace

std::optional<ArcFileTime> fileTimeOf(const MemberTime& time) {
    const std::int64_t seconds = time.seconds + kSecondsFrom1601To1970;
    if (seconds < 0 || seconds > INT64_MAX / kFileTimeTicksPerSecond - 1) {
        return std::nullopt;
    }
    return static_cast<ArcFileTime>(seconds * kFileTimeTicksPerSecond + time.nanoseconds / 100);
}

void writeIndividualInfo(const Member& member, ArcIndividualInfo* info) {
    ArcIndividualInfo record{};
    record.dwOriginalSize = low32(member.size);
    // libarchive does not tell a member's stored size: the original size stands for it.
    record.dwCompressedSize = record.dwOriginalSize;
    record.wRatio = member.size && *member.size > 0 ? 1000 : 0;
    writeDosDateTime(member.writeTime, record);
    copyText(member.name, record.szFileName, sizeof record.szFileName);
    std::string attribute = "-----";
    attribute[0] = member.directory ? 'd' : '-';
    attribute[1] = member.readOnly ? 'r' : '-';
    copyText(attribute, record.szAttribute, sizeof record.szAttribute);
    copyText(member.method, record.szMode, sizeof record.szMode);
    // The caller's record may be exactly the interface's 558 bytes.
    std::memcpy(info, &record, ARC_INDIVIDUAL_INFO_SIZE);
}

ArcEnumMemberInfo64 enumMemberInfoOf(const Member& member) {
    ArcEnumMemberInfo64 info{};
    info.dwStructSize = sizeof info;
    info.dwFileAttributes = dosAttributesOf(member);
    info.llOriginalSize = member.size ? static_cast<std::uint64_t>(*member.size) : 0;
    info.llCompressedSize = info.llOriginalSize;
    info.ftWriteTime = member.writeTime ? fileTimeOf(*member.writeTime).value_or(0) : 0;
    copyText(member.name, info.szFileName, sizeof info.szFileName);
    return info;
}

std::uint16_t dosAttributesOf(const Member& member) {
    std::uint16_t attributes = member.directory ? 0x10 : 0x20;
    if (member.readOnly) {
        attributes |= 0x01;
    }
    return attributes;
}

}  // namespace ravinel::archivers
