#include "archive/archiver.h"

#include <ctime>
#include <optional>

#include "archive/archiver_error.h"
#include "platform/dos_date_time.h"

namespace ravinel {

namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01 (time_t).
constexpr int64_t kFileTimeEpochSeconds = 11'644'473'600;
constexpr int64_t kFileTimeTicksPerSecond = 10'000'000;

}  // namespace

ArcFileTime fileTimeOfDosDateTime(uint16_t date, uint16_t time) {
    const std::optional<DosDateTime> value =
        unpackDosDateTime(static_cast<int32_t>(static_cast<uint32_t>(date) << 16 | time));
    if (!value) {
        return 0;
    }
    std::tm local{};
    local.tm_year = value->year - 1900;
    local.tm_mon = value->month - 1;
    local.tm_mday = value->day;
    local.tm_hour = value->hour;
    local.tm_min = value->minute;
    local.tm_sec = value->second;
    local.tm_isdst = -1;
    const std::time_t utc = std::mktime(&local);
    if (utc == static_cast<std::time_t>(-1) || utc < -kFileTimeEpochSeconds) {
        return 0;
    }
    return static_cast<ArcFileTime>((utc + kFileTimeEpochSeconds) * kFileTimeTicksPerSecond);
}

int32_t dosDateTimeOfFileTime(ArcFileTime time) {
    if (time == 0) {
        return 0;
    }
    const auto seconds = static_cast<int64_t>(time / kFileTimeTicksPerSecond);
    return dosDateTimeOfLocalTime(static_cast<std::time_t>(seconds - kFileTimeEpochSeconds));
}

HARC Archiver::openArchive(ArcWindow window, const std::string& archivePath, uint32_t mode) const {
    return loadDll().openArchive(window, archivePath, mode);
}

int32_t Archiver::findFirst(HARC archive, IndividualInfo64& info,
                            const std::string& wildName) const {
    const int32_t result = loadDll().findFirst(archive, wildName, info.info);
    if (result == 0) {
        complete(archive, info);
    }
    return result;
}

int32_t Archiver::findNext(HARC archive, IndividualInfo64& info) const {
    const int32_t result = loadDll().findNext(archive, info.info);
    if (result == 0) {
        complete(archive, info);
    }
    return result;
}

int32_t Archiver::closeArchive(HARC archive) const {
    return loadDll().closeArchive(archive);
}

int32_t Archiver::checkArchive(const std::string& archivePath, int32_t mode) const {
    return loadDll().checkArchive(archivePath, mode);
}

// Modules without the time and size exports still give complete records: the times of
// the DOS date and time, the 32-bit sizes.
void Archiver::complete(HARC archive, IndividualInfo64& info) const {
    // The texts are read as C strings: a module that fills them up must not make those
    // reads run past the record.
    info.info.szFileName[ARC_FNAME_MAX32] = '\0';
    info.info.szAttribute[sizeof(info.info.szAttribute) - 1] = '\0';
    info.info.szMode[sizeof(info.info.szMode) - 1] = '\0';
    ArchiverDll& dll = loadDll();
    const ArcFileTime dosTime = fileTimeOfDosDateTime(info.info.wDate, info.info.wTime);
    if (!dll.getWriteTimeEx(archive, info.writeTime)) {
        info.writeTime = dosTime;
    }
    if (!dll.getCreateTimeEx(archive, info.createTime)) {
        info.createTime = dosTime;
    }
    if (!dll.getAccessTimeEx(archive, info.accessTime)) {
        info.accessTime = dosTime;
    }
    int64_t size = 0;
    info.originalSize = dll.getOriginalSizeEx(archive, size) ? static_cast<uint64_t>(size)
                                                             : info.info.dwOriginalSize;
    info.compressedSize = dll.getCompressedSizeEx(archive, size) ? static_cast<uint64_t>(size)
                                                                 : info.info.dwCompressedSize;
}

void Archiver::packCommandLine() const {
    throw ArchiverError(ArchiverMessage::packNotSupported);
}

void Archiver::deleteCommandLine() const {
    throw ArchiverError(ArchiverMessage::deleteNotSupported);
}

void Archiver::updateCommandLine() const {
    throw ArchiverError(ArchiverMessage::updateNotSupported);
}

void Archiver::sfxCommandLine() const {
    throw ArchiverError(ArchiverMessage::sfxNotSupported);
}

bool Archiver::inspectMember(const ArcEnumMemberInfo64&) const {
    return true;
}

}  // namespace ravinel
