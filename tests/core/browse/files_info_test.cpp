#include "browse/files_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace ravinel {
namespace {

FilesInfo listOf(const std::vector<std::string>& names) {
    FilesInfo files;
    for (const auto& name : names) {
        FileInfoItem item;
        item.name = name;
        files.add(item);
    }
    return files;
}

std::vector<std::string> namesOf(const FilesInfo& files) {
    std::vector<std::string> names;
    for (int k = 0; k < files.count(); ++k) {
        names.push_back(files.item(k).name);
    }
    return names;
}

TEST(FilesInfo, IndexOfFindsTheLastExactMatch) {
    const FilesInfo files = listOf({"a.jpg", "A.jpg", "b.jpg", "a.jpg"});
    EXPECT_EQ(files.indexOf("a.jpg"), 3);
    EXPECT_EQ(files.indexOf("A.jpg"), 1);
    EXPECT_EQ(files.indexOf("B.JPG"), -1);
    EXPECT_EQ(files.indexOf(""), -1);
    EXPECT_THROW(files.item(4), std::out_of_range);
    EXPECT_THROW(files.item(-1), std::out_of_range);
}

TEST(FilesInfo, AssignAppendsIndependentCopies) {
    FilesInfo source = listOf({"x", "y"});
    source.item(1).info.width = 640;
    FilesInfo target = listOf({"first"});
    target.assign(source);
    EXPECT_EQ(namesOf(target), (std::vector<std::string>{"first", "x", "y"}));
    EXPECT_EQ(target.item(2).info.width, 640);
    source.item(1).name = "changed";
    EXPECT_EQ(target.item(2).name, "y");
    target.clear();
    EXPECT_EQ(target.count(), 0);
}

TEST(FilesInfo, CaseOnlyDifferencesStayTogetherInNameModes) {
    const NameCollation collation("");
    for (int mode : {0, 1}) {
        FilesInfo files = listOf({"b", "ABC", "c", "abc", "a"});
        files.sort(mode, collation);
        const auto names = namesOf(files);
        const auto upper = std::find(names.begin(), names.end(), "ABC") - names.begin();
        const auto lower = std::find(names.begin(), names.end(), "abc") - names.begin();
        EXPECT_EQ(std::abs(upper - lower), 1) << "mode " << mode;
    }
}

TEST(FilesInfo, NaturalDescendingIsTheNegatedComparison) {
    const NameCollation collation("");
    FilesInfo files = listOf({"img10.jpg", "img9.jpg", "img010.jpg", "Img9.jpg"});
    files.sort(3, collation);
    EXPECT_EQ(namesOf(files),
              (std::vector<std::string>{"Img9.jpg", "img010.jpg", "img10.jpg", "img9.jpg"}));
}

TEST(FilesInfo, TimesFrom2044SortAfterOlderOnes) {
    FilesInfo files;
    for (const auto& [name, time] :
         std::vector<std::pair<std::string, uint32_t>>{{"2050", 70u << 25 | 1u << 21 | 1u << 16},
                                                       {"none", 0},
                                                       {"1999", 19u << 25 | 1u << 21 | 1u << 16}}) {
        FileInfoItem item;
        item.name = name;
        item.time = static_cast<int32_t>(time);
        files.add(item);
    }
    files.sort(6);
    EXPECT_EQ(namesOf(files), (std::vector<std::string>{"none", "1999", "2050"}));
    files.sort(7);
    EXPECT_EQ(namesOf(files), (std::vector<std::string>{"2050", "1999", "none"}));
}

// Zero-padded digit runs make the natural comparison intransitive ("0A" < "000" <
// "0aa" < "0A"); sorting such names must still give back every item.
TEST(FilesInfo, SortSurvivesIntransitiveNaturalOrder) {
    const NameCollation collation("");
    std::vector<std::string> names;
    const char* pieces[] = {"0", "00", "000", "a", "A", "1", "b\xFF", "01"};
    for (const char* first : pieces) {
        for (const char* second : pieces) {
            for (const char* third : pieces) {
                names.push_back(std::string(first) + second + third);
            }
        }
    }
    for (int mode : {2, 3}) {
        FilesInfo files = listOf(names);
        files.sort(mode, collation);
        auto sortedNames = namesOf(files);
        auto expected = names;
        std::sort(sortedNames.begin(), sortedNames.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sortedNames, expected) << "mode " << mode;
        EXPECT_EQ(files.item(files.count() - 1).index, files.count() - 1);
    }
}

}  // namespace
}  // namespace ravinel
