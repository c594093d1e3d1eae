#include "platform/dos_date_time.h"

namespace ravinel {

namespace {

constexpr int kFirstYear = 1980;
constexpr int kLastYear = kFirstYear + 127;

int daysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

int32_t packDosDateTime(const DosDateTime& value) {
    if (value.year < kFirstYear || value.year > kLastYear) {
        return 0;
    }
    const uint32_t date =
        static_cast<uint32_t>(((value.year - kFirstYear) << 9) | (value.month << 5) | value.day);
    const uint32_t time =
        static_cast<uint32_t>((value.hour << 11) | (value.minute << 5) | (value.second / 2));
    return static_cast<int32_t>((date << 16) | time);
}

int32_t dosDateTimeOfLocalTime(std::time_t time) {
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return 0;
    }
    // A leap second (tm_sec 60) has no DOS form; it becomes the second before.
    return packDosDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec});
}

std::optional<DosDateTime> unpackDosDateTime(int32_t packed) {
    const uint32_t bits = static_cast<uint32_t>(packed);
    DosDateTime value;
    value.year = kFirstYear + static_cast<int>(bits >> 25);
    value.month = static_cast<int>((bits >> 21) & 0x0F);
    value.day = static_cast<int>((bits >> 16) & 0x1F);
    value.hour = static_cast<int>((bits >> 11) & 0x1F);
    value.minute = static_cast<int>((bits >> 5) & 0x3F);
    value.second = static_cast<int>(bits & 0x1F) * 2;
    if (value.month < 1 || value.month > 12 || value.day < 1 ||
        value.day > daysInMonth(value.year, value.month) || value.hour > 23 || value.minute > 59 ||
        value.second > 59) {
        return std::nullopt;
    }
    return value;
}

}  // namespace ravinel
