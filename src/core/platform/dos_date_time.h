#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace ravinel {

// A calendar date and time of day as a packed DOS date-time holds it: the date in the
// high 16 bits (years since 1980, month, day), the time in the low 16 bits (hour,
// minute, seconds / 2).
struct DosDateTime {
    int year = 1980;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const DosDateTime&) const = default;
};

// The packed form; odd seconds round down. 0 (no valid date) for years outside
// 1980..2107, the range the format can hold.
int32_t packDosDateTime(const DosDateTime& value);

// The packed form of a POSIX time in the local time zone; 0 when it has no DOS form.
int32_t dosDateTimeOfLocalTime(std::time_t time);

// The fields of a packed value, or nothing when a field is out of range (month 0, 31
// February, hour 24, ...); 0 is such a value.
std::optional<DosDateTime> unpackDosDateTime(int32_t packed);

}  // namespace ravinel
