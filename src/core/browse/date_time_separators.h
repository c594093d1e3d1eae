#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ravinel {

// The date and time separators of a locale, as the file times are shown with them.
struct DateTimeSeparators {
    std::string date = "/";
    std::string time = ":";
};

// The separator of a date or time pattern in ICU's syntax ("dd.MM.yy", "H:mm"): the
// characters other than letters, spaces and quoted text between the first two fields.
// fallback when there is none ("HH 'h' mm", a single field).
std::string patternSeparator(std::string_view pattern, const std::string& fallback);

// The separators of the short date and time patterns of an ICU locale; "/" and ":" for
// the empty locale (C and POSIX) and when ICU has no pattern.
DateTimeSeparators separatorsOfLocale(const std::string& localeId);

// The separators of the user's LC_TIME locale, found once.
const DateTimeSeparators& userDateTimeSeparators();

// A packed DOS date-time as "yyyy/mm/dd hh:nn:ss" with the given separators standing
// for "/" and ":"; empty when packed is no valid DOS date-time.
std::string formatDosDateTime(int32_t packed, const DateTimeSeparators& separators);

}  // namespace ravinel
