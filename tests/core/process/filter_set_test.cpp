#include "process/pipeline/filter_set.h"

#include <gtest/gtest.h>

namespace ravinel {
namespace {

constexpr FilterPhase kNone = FilterPhase::fpNone;
constexpr FilterPhase kBefore = FilterPhase::fpBefore;
constexpr FilterPhase kAfter = FilterPhase::fpAfter;
constexpr auto kThree = static_cast<FilterPhase>(3);

TEST(FilterSetText, DigitsReadFromTheRightNoiseNormalizeSharp) {
    EXPECT_EQ(filterSetFromText("0220"), (FilterSet{kNone, kAfter, kAfter}));
    EXPECT_EQ(filterSetFromText("0010"), (FilterSet{kNone, kBefore, kNone}));
    EXPECT_EQ(filterSetFromText("0002"), (FilterSet{kAfter, kNone, kNone}));
    EXPECT_EQ(filterSetFromText("0333"), (FilterSet{kThree, kThree, kThree}));
    // The leftmost digit is ignored; lower-case and short texts are hexadecimal too.
    EXPECT_EQ(filterSetFromText("f102"), (FilterSet{kAfter, kNone, kBefore}));
    EXPECT_EQ(filterSetFromText("2a"), (FilterSet{kAfter, kAfter, kNone}));
}

TEST(FilterSetText, TextsThatAreNotHexadecimalMeanNoFilters) {
    for (const char* text : {"", "zz", "02 0", " 0220", "0x10", "-1", "123456789"}) {
        EXPECT_EQ(filterSetFromText(text), FilterSet{}) << "[" << text << "]";
    }
}

TEST(FilterSetText, WritesFourUpperCaseDigitsAndReadsThemBack) {
    EXPECT_EQ(filterSetToText(FilterSet{}), "0000");
    EXPECT_EQ(filterSetToText(FilterSet{kNone, kAfter, kAfter}), "0220");
    EXPECT_EQ(filterSetToText(FilterSet{kThree, kBefore, kThree}), "0313");
    for (int v = 0; v < 64; ++v) {
        const FilterSet set{static_cast<FilterPhase>(v & 3), static_cast<FilterPhase>(v >> 2 & 3),
                            static_cast<FilterPhase>(v >> 4 & 3)};
        EXPECT_EQ(filterSetFromText(filterSetToText(set)), set) << v;
    }
}

}  // namespace
}  // namespace ravinel
