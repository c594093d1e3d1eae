#include "platform/dos_date_time.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "browse/date_time_separators.h"
#include "browse/file_info_item.h"

namespace ravinel {
namespace {

TEST(DosDateTime, PacksFieldsIntoTheirBits) {
    // 2024-02-29 13:45:58: date (44 << 9 | 2 << 5 | 29), time (13 << 11 | 45 << 5 | 29).
    const int32_t packed = packDosDateTime({2024, 2, 29, 13, 45, 58});
    EXPECT_EQ(static_cast<uint32_t>(packed), (0x585Du << 16) | 0x6DBDu);
    const auto back = unpackDosDateTime(packed);
    ASSERT_TRUE(back);
    EXPECT_TRUE(*back == (DosDateTime{2024, 2, 29, 13, 45, 58}));
}

TEST(DosDateTime, RangeEndsAndOddSeconds) {
    EXPECT_EQ(packDosDateTime({1979, 12, 31, 23, 59, 59}), 0);
    EXPECT_EQ(packDosDateTime({2108, 1, 1, 0, 0, 0}), 0);
    const auto last = unpackDosDateTime(packDosDateTime({2107, 12, 31, 23, 59, 59}));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->year, 2107);
    EXPECT_EQ(last->second, 58);
    EXPECT_LT(packDosDateTime({2044, 1, 1, 0, 0, 0}), 0);  // bit 31 from 2044 on
}

TEST(DosDateTime, InvalidFieldsGiveNothing) {
    EXPECT_FALSE(unpackDosDateTime(0));  // month 0, day 0
    const auto withDate = [](uint32_t date, uint32_t time) {
        return unpackDosDateTime(static_cast<int32_t>((date << 16) | time));
    };
    EXPECT_FALSE(withDate((44u << 9) | (13u << 5) | 1, 0));         // month 13
    EXPECT_FALSE(withDate((43u << 9) | (2u << 5) | 29, 0));         // 29 February 2023
    EXPECT_TRUE(withDate((40u << 9) | (2u << 5) | 29, 0));          // 29 February 2020
    EXPECT_FALSE(withDate((44u << 9) | (4u << 5) | 31, 0));         // 31 April
    EXPECT_FALSE(withDate((44u << 9) | (1u << 5) | 1, 24u << 11));  // hour 24
    EXPECT_FALSE(withDate((44u << 9) | (1u << 5) | 1, 60u << 5));   // minute 60
    EXPECT_FALSE(withDate((44u << 9) | (1u << 5) | 1, 30u));        // second 60
}

TEST(DosDateTime, LocalTimeOfAPosixTime) {
    const char* oldZone = std::getenv("TZ");
    const std::string saved = oldZone ? oldZone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    // 2001-09-09 01:46:40 UTC.
    const auto value = unpackDosDateTime(dosDateTimeOfLocalTime(1000000000));
    EXPECT_EQ(dosDateTimeOfLocalTime(0), 0);  // 1970 has no DOS form
    oldZone ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
    tzset();
    ASSERT_TRUE(value);
    EXPECT_TRUE(*value == (DosDateTime{2001, 9, 9, 1, 46, 40}));
}

TEST(DosDateTimeText, FormatsWithTheGivenSeparators) {
    const int32_t packed = packDosDateTime({2005, 3, 7, 8, 5, 9});
    EXPECT_EQ(formatDosDateTime(packed, {}), "2005/03/07 08:05:08");
    EXPECT_EQ(formatDosDateTime(packed, {".", "."}), "2005.03.07 08.05.08");
    EXPECT_EQ(formatDosDateTime(0, {}), "");
    FileInfoItem item;
    EXPECT_EQ(item.timeText(), "");
    item.size = -1;  // a size of 4 GiB - 1 read as the low 32 bits
    EXPECT_EQ(item.sizeText(), "-1");
}

TEST(DateTimeSeparators, TakenFromPatterns) {
    EXPECT_EQ(patternSeparator("dd.MM.yy", "/"), ".");
    EXPECT_EQ(patternSeparator("y/MM/dd", "-"), "/");
    EXPECT_EQ(patternSeparator("y. M. d.", "/"), ".");
    EXPECT_EQ(patternSeparator("h:mm a", "."), ":");
    EXPECT_EQ(patternSeparator("HH 'h' mm", ":"), ":");  // quoted text is no separator
    EXPECT_EQ(patternSeparator("'T'HH.mm", ":"), ".");
    EXPECT_EQ(patternSeparator("HHmm", ":"), ":");
    EXPECT_EQ(patternSeparator("", ":"), ":");
}

TEST(DateTimeSeparators, OfLocales) {
    const DateTimeSeparators german = separatorsOfLocale("de_DE");
    EXPECT_EQ(german.date, ".");
    EXPECT_EQ(german.time, ":");
    const DateTimeSeparators plain = separatorsOfLocale("");
    EXPECT_EQ(plain.date, "/");
    EXPECT_EQ(plain.time, ":");
}

}  // namespace
}  // namespace ravinel
