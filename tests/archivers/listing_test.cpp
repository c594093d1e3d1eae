// Listing members: names, sizes, times and wild names, for each format libarchive writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "tests/archivers/archive_writer.h"
#include "tests/archivers/module_fixture.h"

namespace ravinel::test {
namespace {

constexpr std::int64_t kModified = 1700000000;  // 2023-11-14 22:13:20 UTC
constexpr ArcFileTime kModifiedFileTime = (kModified + 11644473600LL) * 10000000LL;

std::vector<WrittenMember> sampleMembers() {
    return {{"a.txt", textBytes("first member"), kModified},
            {"sub/b.bmp", noiseBytes(3000, 1), kModified + 60},
            {"sub/deeper/c.TXT", Bytes(5000, 'c'), kModified + 120}};
}

struct FormatCase {
    WrittenKind kind;
    const char* fileName;
    ArchiverModule& (*module)();
};

class ListingTest : public testing::TestWithParam<FormatCase> {};

TEST_P(ListingTest, ListsNamesSizesAndTimes) {
    const FormatCase& format = GetParam();
    const TemporaryFile file(format.fileName, writeArchive(format.kind, sampleMembers()));
    const auto members = listMembers(format.module(), file.path());
    ASSERT_EQ(members.size(), 3u);
    const auto expected = sampleMembers();
    for (std::size_t i = 0; i < members.size(); ++i) {
        const ListedMember& member = members[i];
        EXPECT_EQ(member.info.szFileName, expected[i].name);
        EXPECT_EQ(member.info.dwOriginalSize, expected[i].data.size());
        EXPECT_EQ(member.originalSize, static_cast<int64_t>(expected[i].data.size()));
        ASSERT_EQ(member.writeTimeResult, 1);
        EXPECT_EQ(member.writeTime, kModifiedFileTime + i * 60 * 10000000ULL);
        const std::time_t modified = static_cast<std::time_t>(expected[i].modified);
        std::tm local{};
        localtime_r(&modified, &local);
        EXPECT_EQ(member.info.wDate >> 9, local.tm_year - 80);
        EXPECT_EQ((member.info.wDate >> 5) & 15, local.tm_mon + 1);
        EXPECT_EQ(member.info.wDate & 31, local.tm_mday);
        EXPECT_EQ(member.info.wTime >> 11, local.tm_hour);
        EXPECT_EQ((member.info.wTime >> 5) & 63, local.tm_min);
        EXPECT_EQ((member.info.wTime & 31) * 2, local.tm_sec / 2 * 2);
    }
}

TEST_P(ListingTest, WildNamesMatchTheWholePathWithoutCase) {
    const FormatCase& format = GetParam();
    const TemporaryFile file(format.fileName, writeArchive(format.kind, sampleMembers()));
    using Names = std::vector<std::string>;
    EXPECT_EQ(memberNames(format.module(), file.path(), "*.*").size(), 3u);
    EXPECT_EQ(memberNames(format.module(), file.path(), "*.txt"),
              (Names{"a.txt", "sub/deeper/c.TXT"}));
    EXPECT_EQ(memberNames(format.module(), file.path(), "sub/*.bmp"), Names{"sub/b.bmp"});
    EXPECT_EQ(memberNames(format.module(), file.path(), "?.TXT"), Names{"a.txt"});
    EXPECT_TRUE(memberNames(format.module(), file.path(), "b.bmp").empty());
}

TEST_P(ListingTest, TheModuleAcceptsItsFormatOnly) {
    const FormatCase& format = GetParam();
    const TemporaryFile file(format.fileName, writeArchive(format.kind, sampleMembers()));
    EXPECT_NE(format.module().checkArchive(file.path().c_str(), 16), 0);
    for (ArchiverModule* other :
         {&unlha32(), &unzip32(), &tar32(), &cab32(), &unrar32(), &sevenZip32()}) {
        if (other == &format.module()) {
            continue;
        }
        EXPECT_EQ(other->checkArchive(file.path().c_str(), 16), 0);
        EXPECT_EQ(other->openArchive(nullptr, file.path().c_str(), 0x800002), nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, ListingTest,
                         testing::Values(FormatCase{WrittenKind::Zip, "list.zip", unzip32},
                                         FormatCase{WrittenKind::Tar, "list.tar", tar32},
                                         FormatCase{WrittenKind::TarGzip, "list.tgz", tar32},
                                         FormatCase{WrittenKind::TarBzip2, "list.tar.bz2", tar32},
                                         FormatCase{WrittenKind::SevenZip, "list.7z", sevenZip32}),
                         [](const testing::TestParamInfo<FormatCase>& param) {
                             std::string name = param.param.fileName;
                             std::replace(name.begin(), name.end(), '.', '_');
                             return name;
                         });

TEST(ListingTest, TimesThatAreNotStoredAreReportedMissing) {
    const TemporaryFile file("times.tar", writeArchive(WrittenKind::Tar, sampleMembers()));
    const auto members = listMembers(tar32(), file.path());
    ASSERT_FALSE(members.empty());
    EXPECT_EQ(members[0].createTimeResult, 0);
}

// The record is 558 bytes in the interface; the C struct has two bytes of padding more.
TEST(ListingTest, TheMemberRecordIsWrittenToItsInterfaceSizeOnly) {
    const TemporaryFile file("record.zip", writeArchive(WrittenKind::Zip, sampleMembers()));
    HARC archive = unzip32().openArchive(nullptr, file.path().c_str(), 0);
    ASSERT_NE(archive, nullptr);
    ArcIndividualInfo info;
    std::memset(&info, 0xCC, sizeof info);
    EXPECT_EQ(unzip32().findFirst(archive, "*", &info), 0);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&info);
    for (std::size_t i = ARC_INDIVIDUAL_INFO_SIZE; i < sizeof info; ++i) {
        EXPECT_EQ(bytes[i], 0xCC);
    }
    EXPECT_STREQ(info.szFileName, "a.txt");
    EXPECT_EQ(unzip32().closeArchive(archive), 0);
}

TEST(ListingTest, HandleCallsWithoutAHandleFail) {
    ArcIndividualInfo info{};
    ArcFileTime time = 0;
    EXPECT_NE(unzip32().findFirst(nullptr, "*", &info), 0);
    EXPECT_NE(unzip32().findNext(nullptr, &info), 0);
    EXPECT_NE(unzip32().closeArchive(nullptr), 0);
    EXPECT_EQ(unzip32().getWriteTimeEx(nullptr, &time), 0);
}

TEST(ListingTest, ArchiveTypesOfTheTarFamily) {
    const auto members = sampleMembers();
    const TemporaryFile tar("kind.tar", writeArchive(WrittenKind::Tar, members));
    const TemporaryFile tgz("kind.tgz", writeArchive(WrittenKind::TarGzip, members));
    const TemporaryFile tbz("kind.tbz2", writeArchive(WrittenKind::TarBzip2, members));
    const TemporaryFile cpio("kind.cpio", writeArchive(WrittenKind::Cpio, members));
    const TemporaryFile gz("picture.bmp.gz", writeArchive(WrittenKind::Gzip, {members[1]}));
    const TemporaryFile zip("kind.zip", writeArchive(WrittenKind::Zip, members));
    EXPECT_EQ(tar32().getArchiveType(tar.path().c_str()), 1);
    EXPECT_EQ(tar32().getArchiveType(tgz.path().c_str()), 2);
    EXPECT_EQ(tar32().getArchiveType(tbz.path().c_str()), 6);
    EXPECT_EQ(tar32().getArchiveType(gz.path().c_str()), 4);
    EXPECT_EQ(tar32().getArchiveType(cpio.path().c_str()), 32);
    EXPECT_LE(tar32().getArchiveType(zip.path().c_str()), 0);
    EXPECT_EQ(tar32().getArchiveType("/nonexistent/kind.tar"), -1);
    EXPECT_EQ(unzip32().getArchiveType(zip.path().c_str()), 1);
    EXPECT_LE(unzip32().getArchiveType(tar.path().c_str()), 0);
}

TEST(ListingTest, ASingleCompressedFileIsOneMemberNamedAfterIt) {
    const Bytes data = noiseBytes(2000, 7);
    const TemporaryFile gz("single.bmp.gz", writeArchive(WrittenKind::Gzip, {{"x", data, 0}}));
    const std::string name = gz.path().filename().string();
    EXPECT_EQ(memberNames(tar32(), gz.path()),
              std::vector<std::string>{name.substr(0, name.size() - 3)});
    const Extracted extracted =
        extractMem(tar32(), tarCommand(gz.path().string(), name.substr(0, name.size() - 3)), 4096);
    EXPECT_EQ(extracted.result, 0);
    EXPECT_EQ(extracted.data, data);
}

}  // namespace
}  // namespace ravinel::test
