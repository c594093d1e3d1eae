#include "browse/natural_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browse/name_collation.h"

namespace ravinel {
namespace {

const NameCollation& rootCollation() {
    static const NameCollation collation("");
    return collation;
}

int natural(const std::string& a, const std::string& b) {
    return naturalCompare(a, b, rootCollation());
}

TEST(DigitRunAt, CountsCharactersNotBytes) {
    EXPECT_EQ(digitRunAt("img010.jpg", 4), "010");
    EXPECT_EQ(digitRunAt("img010.jpg", 5), "10");
    EXPECT_EQ(digitRunAt("img010.jpg", 1), "");
    // Two-byte "é" and three-byte "日" are one character each; so is an ill-formed byte.
    EXPECT_EQ(digitRunAt("\xC3\xA9"
                         "42x",
                         2),
              "42");
    EXPECT_EQ(digitRunAt("\xE6\x97\xA5\xFF"
                         "7",
                         3),
              "7");
    EXPECT_EQ(digitRunAt("a1", 0), "");
    EXPECT_EQ(digitRunAt("a1", -3), "");
    EXPECT_EQ(digitRunAt("a1", 3), "");
    EXPECT_EQ(digitRunAt("", 1), "");
}

TEST(ZeroPadPair, PadsTheShorterOnly) {
    std::string a = "7";
    std::string b = "0123";
    zeroPadPair(a, b);
    EXPECT_EQ(a, "0007");
    EXPECT_EQ(b, "0123");
    zeroPadPair(b, a);
    EXPECT_EQ(a, "0007");
    std::string c = "12";
    std::string d = "34";
    zeroPadPair(c, d);
    EXPECT_EQ(c + d, "1234");
}

TEST(NaturalCompare, EmptyNames) {
    EXPECT_EQ(natural("", "a"), -1);
    EXPECT_EQ(natural("a", ""), 1);
    EXPECT_EQ(natural("", ""), 0);
}

TEST(NaturalCompare, DigitRunsByValueAndLeadingZerosAfter) {
    EXPECT_EQ(natural("file9", "file10"), -1);
    EXPECT_EQ(natural("a1", "a01"), -1);
    EXPECT_EQ(natural("a01", "a1"), 1);
    EXPECT_EQ(natural("x1", "x1a"), -1);
    EXPECT_EQ(natural("x1a", "x1"), 1);
    EXPECT_EQ(natural("photo123456789012", "photo99"), 1);
    EXPECT_EQ(natural("photo99", "photo123456789012"), -1);
    EXPECT_EQ(natural("img7.jpg", "img7.jpg"), 0);
    // A digit run meets a letter as one character: "1" against "b".
    EXPECT_EQ(natural("a1", "ab"), -1);
}

TEST(NaturalCompare, CaseDecidesAtFirstDifferenceLowercaseFirst) {
    EXPECT_EQ(natural("abc", "ABC"), -1);
    EXPECT_EQ(natural("abd", "ABC"), -1);
    EXPECT_EQ(natural("ABC", "abd"), 1);
    EXPECT_EQ(natural("abc", "abd"), -1);
    EXPECT_EQ(natural("b", "A"), 1);  // the letter before its case
}

TEST(NaturalCompare, OrdersTheExampleNames) {
    std::vector<std::string> names = {"img10.jpg", "img9.jpg", "img010.jpg", "Img9.jpg"};
    std::stable_sort(names.begin(), names.end(),
                     [](const auto& a, const auto& b) { return natural(a, b) < 0; });
    EXPECT_EQ(names, (std::vector<std::string>{"img9.jpg", "img10.jpg", "img010.jpg", "Img9.jpg"}));
}

TEST(NaturalCompare, MultiByteAndIllFormedNames) {
    EXPECT_EQ(natural("\xE5\x86\x99\xE7\x9C\x9F"
                      "2",
                      "\xE5\x86\x99\xE7\x9C\x9F"
                      "10"),
              -1);
    EXPECT_EQ(natural("caf\xC3\xA9"
                      "9",
                      "caf\xC3\xA9"
                      "10"),
              -1);
    // An ill-formed byte is one character that compares as U+FFFD, after letters.
    EXPECT_EQ(natural("a\xFF"
                      "9",
                      "a\xFF"
                      "10"),
              -1);
    EXPECT_EQ(natural("a\xFF", "az"), 1);
}

TEST(NameCollation, IgnoringCaseKeepsAccentsAndOrdersByLetter) {
    const NameCollation& collation = rootCollation();
    EXPECT_EQ(collation.compareIgnoringCase("Photo.JPG", "photo.jpg"), 0);
    EXPECT_EQ(collation.compareIgnoringCase("apple", "Banana"), -1);
    EXPECT_EQ(collation.compareIgnoringCase("Zebra", "apple"), 1);
    EXPECT_NE(collation.compareIgnoringCase("cafe", "caf\xC3\xA9"), 0);
    EXPECT_EQ(collation.compareWithCase("a", "A"), -1);
    // Different ill-formed bytes both read as U+FFFD.
    EXPECT_EQ(collation.compareIgnoringCase("x\xFE", "x\xFF"), 0);
}

}  // namespace
}  // namespace ravinel
