#include "common/file_icon_cache.h"

#include <gtest/gtest.h>

#include "tests/temp_dir.h"

namespace ravinel {
namespace {

TEST(FileIconCache, OneNumberPerIconAndNumbersStay) {
    testing::TempDir tmp;
    const std::vector<uint8_t> bytes = {'x'};
    const std::string a = tmp.write("a.txt", bytes);
    const std::string b = tmp.write("b.txt", bytes);
    FileIconCache cache;
    const int32_t first = cache.largeIconOf(a);
    EXPECT_GE(first, 0);
    EXPECT_EQ(cache.largeIconOf(b), first);  // the same type shares its icon
    EXPECT_EQ(cache.smallIconOf(a), first);
    cache.largeIconOf(tmp.path(""));  // a folder
    EXPECT_EQ(cache.largeIconOf(a), first);
    EXPECT_FALSE(cache.icon(first).isNull());
    EXPECT_TRUE(cache.icon(-1).isNull());
    EXPECT_TRUE(cache.icon(1000).isNull());
}

}  // namespace
}  // namespace ravinel
