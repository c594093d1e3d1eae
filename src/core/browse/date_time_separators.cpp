#include "browse/date_time_separators.h"

#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>

#include <memory>

#include "browse/user_locale.h"
#include "platform/dos_date_time.h"

namespace ravinel {

namespace {

std::string twoDigits(int value) {
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

bool isPatternLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string patternOf(const icu::Locale& locale, bool date) {
    std::unique_ptr<icu::DateFormat> format(
        date ? icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale)
             : icu::DateFormat::createTimeInstance(icu::DateFormat::kShort, locale));
    const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(format.get());
    if (simple == nullptr) {
        return {};
    }
    icu::UnicodeString pattern;
    simple->toPattern(pattern);
    std::string utf8;
    pattern.toUTF8String(utf8);
    return utf8;
}

}  // namespace

std::string patternSeparator(std::string_view pattern, const std::string& fallback) {
    bool inField = false;
    bool afterField = false;
    bool quoted = false;
    std::string separator;
    for (const char c : pattern) {
        if (c == '\'') {
            quoted = !quoted;
            afterField = afterField || inField;
            inField = false;
        } else if (quoted) {
            continue;
        } else if (isPatternLetter(c)) {
            if (afterField) {
                break;
            }
            inField = true;
        } else {
            afterField = afterField || inField;
            inField = false;
            if (afterField && c != ' ') {
                separator += c;
            }
        }
    }
    // A pattern that ends after its first field has no separator between two fields.
    return separator.empty() ? fallback : separator;
}

DateTimeSeparators separatorsOfLocale(const std::string& localeId) {
    DateTimeSeparators separators;
    if (localeId.empty()) {
        return separators;
    }
    const icu::Locale locale(localeId.c_str());
    separators.date = patternSeparator(patternOf(locale, true), separators.date);
    separators.time = patternSeparator(patternOf(locale, false), separators.time);
    return separators;
}

const DateTimeSeparators& userDateTimeSeparators() {
    static const DateTimeSeparators separators = separatorsOfLocale(userLocaleId("LC_TIME"));
    return separators;
}

std::string formatDosDateTime(int32_t packed, const DateTimeSeparators& separators) {
    const auto value = unpackDosDateTime(packed);
    if (!value) {
        return {};
    }
    // Years of the format have four digits (1980..2107).
    return std::to_string(value->year) + separators.date + twoDigits(value->month) +
           separators.date + twoDigits(value->day) + " " + twoDigits(value->hour) +
           separators.time + twoDigits(value->minute) + separators.time + twoDigits(value->second);
}

}  // namespace ravinel
