// LZH archives with stored members, level-0 and level-2 headers.
#include <gtest/gtest.h>

#include "tests/archivers/lzh_writer.h"
#include "tests/archivers/module_fixture.h"

namespace ravinel::test {
namespace {

constexpr std::int64_t kModified = 1600000000;  // 2020-09-13 12:26:40 UTC

std::vector<LzhMember> members() {
    return {{"pict.bmp", noiseBytes(5000, 9), kModified},
            {"dir/note.txt", textBytes("note"), kModified}};
}

TEST(LzhTest, BothHeaderLevelsListAndExtract) {
    for (const Bytes& archive : {lzhLevel0(members()), lzhLevel2(members())}) {
        const TemporaryFile file("stored.lzh", archive);
        EXPECT_NE(unlha32().checkArchive(file.path().c_str(), 16), 0);
        EXPECT_EQ(unlha32().getArchiveType(file.path().c_str()), 1);
        const auto listed = listMembers(unlha32(), file.path());
        ASSERT_EQ(listed.size(), 2u);
        for (std::size_t i = 0; i < listed.size(); ++i) {
            EXPECT_EQ(listed[i].info.szFileName, members()[i].name);
            EXPECT_EQ(listed[i].info.dwOriginalSize, members()[i].data.size());
            const Extracted extracted =
                extractMem(unlha32(), lhaCommand(file.path(), members()[i].name), 8000);
            EXPECT_EQ(extracted.result, 0);
            EXPECT_EQ(extracted.data, members()[i].data);
        }
    }
}

TEST(LzhTest, ALevel2HeaderGivesTheUnixTime) {
    const TemporaryFile file("time.lzh", lzhLevel2(members()));
    const auto listed = listMembers(unlha32(), file.path());
    ASSERT_FALSE(listed.empty());
    ASSERT_EQ(listed[0].writeTimeResult, 1);
    EXPECT_EQ(listed[0].writeTime, static_cast<ArcFileTime>(kModified + 11644473600LL) * 10000000);
}

TEST(LzhTest, AStoredMemberWithAWrongChecksumFails) {
    Bytes archive = lzhLevel0({{"a.bin", noiseBytes(300, 2), kModified}});
    archive[archive.size() - 10] ^= 0xFF;  // inside the data
    const TemporaryFile file("crc.lzh", archive);
    const Extracted extracted = extractMem(unlha32(), lhaCommand(file.path(), "a.bin"), 300);
    EXPECT_NE(extracted.result, 0);
}

TEST(LzhTest, AMemberClaimingMoreDataThanStoredFails) {
    Bytes archive = lzhLevel0({{"a.bin", noiseBytes(300, 2), kModified}});
    // Original and stored size claim 4000 bytes (the header checksum is made to match).
    for (std::size_t sizeAt : {7u, 11u}) {
        archive[sizeAt] = 0xA0;
        archive[sizeAt + 1] = 0x0F;
    }
    std::uint8_t sum = 0;
    for (std::size_t i = 2; i < 2u + archive[0]; ++i) {
        sum = static_cast<std::uint8_t>(sum + archive[i]);
    }
    archive[1] = sum;
    const TemporaryFile file("lie.lzh", archive);
    const Extracted extracted = extractMem(unlha32(), lhaCommand(file.path(), "a.bin"), 8000);
    EXPECT_NE(extracted.result, 0);
}

}  // namespace
}  // namespace ravinel::test
