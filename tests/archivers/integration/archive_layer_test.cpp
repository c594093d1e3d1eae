// Type detection, listing and extraction through the archive layer with the real modules.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archive_type_detection.h"
#include "archive/archiver.h"
#include "tests/archivers/archive_writer.h"
#include "tests/archivers/integration/real_modules.h"
#include "tests/archivers/lzh_writer.h"

namespace ravinel {
namespace {

using test::LzhMember;
using test::WrittenKind;
using test::WrittenMember;
using testing::extract;
using testing::RealModules;
using testing::TempDir;

constexpr int64_t kModified = 1600000000;  // 2020-09-13 12:26:40 UTC
constexpr ArcFileTime kModifiedFileTime = (kModified + 11644473600LL) * 10000000LL;

const std::vector<uint8_t> kText = {'h', 'e', 'l', 'l', 'o', '\n'};
const std::vector<uint8_t> kLong(3000, 'z');

std::vector<IndividualInfo64> listAll(ArchiveFile& archive) {
    std::vector<IndividualInfo64> members;
    EXPECT_EQ(archive.openArchive(nullptr, 0), 0);
    IndividualInfo64 info;
    for (int32_t result = archive.findFirst("*", info); result == 0;
         result = archive.findNext(info)) {
        members.push_back(info);
    }
    archive.closeArchive();
    return members;
}

TEST(ArchiveLayerModules, TypeFromNameAndFromContent) {
    const RealModules modules;
    TempDir dir;
    const std::vector<uint8_t> lzh = test::lzhLevel2({{"a.txt", kText, kModified}});
    const std::string selfExtracting = dir.write("setup.exe", lzh);
    // The probes find the LZH content behind the .exe name, and LHA wins.
    EXPECT_EQ(archiverTypeOfContent(selfExtracting), ArchiverType::atLha);
    EXPECT_EQ(archiverTypeOfName(selfExtracting), ArchiverType::atLha);
    ArchiveFile archive;
    archive.setFileName(selfExtracting);
    EXPECT_EQ(archive.archiverType(), ArchiverType::atLha);
    int32_t result = -1;
    EXPECT_EQ(extract(archive, "a.txt", result), kText);

    // Content alone, under a name that says nothing.
    const std::string zip =
        dir.write("zip.bin", test::writeArchive(WrittenKind::Zip, {{"b.txt", kText, kModified}}));
    const std::string tar =
        dir.write("tar.bin", test::writeArchive(WrittenKind::Tar, {{"c.txt", kText, kModified}}));
    EXPECT_EQ(archiverTypeOfContent(zip), ArchiverType::atZip);
    EXPECT_EQ(archiverTypeOfContent(tar), ArchiverType::atTar);
    EXPECT_EQ(archiverTypeOfContent(dir.write("plain.bin", kLong)), ArchiverType::atNone);
}

TEST(ArchiveLayerModules, ListsNamesSizesAndTimes) {
    const RealModules modules;
    TempDir dir;
    const std::vector<LzhMember> lzhMembers = {{"pics/one.txt", kText, kModified},
                                               {"two.bin", kLong, kModified + 60}};
    const std::vector<WrittenMember> members = {{"pics/one.txt", kText, kModified},
                                                {"two.bin", kLong, kModified + 60}};
    const std::vector<std::string> archives = {
        dir.write("l2.lzh", test::lzhLevel2(lzhMembers)),
        dir.write("a.zip", test::writeArchive(WrittenKind::Zip, members)),
        dir.write("a.tar", test::writeArchive(WrittenKind::Tar, members)),
        dir.write("a.tgz", test::writeArchive(WrittenKind::TarGzip, members)),
    };
    for (const std::string& path : archives) {
        SCOPED_TRACE(path);
        ArchiveFile archive;
        archive.setFileName(path);
        const std::vector<IndividualInfo64> listed = listAll(archive);
        ASSERT_EQ(listed.size(), 2u);
        EXPECT_STREQ(listed[0].info.szFileName, "pics/one.txt");
        EXPECT_STREQ(listed[1].info.szFileName, "two.bin");
        EXPECT_EQ(listed[0].originalSize, kText.size());
        EXPECT_EQ(listed[1].originalSize, kLong.size());
        EXPECT_EQ(listed[1].info.dwOriginalSize, kLong.size());
        EXPECT_EQ(listed[0].writeTime, kModifiedFileTime);
        EXPECT_EQ(listed[1].writeTime, kModifiedFileTime + 60 * 10000000ULL);
    }
}

TEST(ArchiveLayerModules, LevelZeroLzhTimeComesFromTheDosDate) {
    const RealModules modules;
    TempDir dir;
    ArchiveFile archive;
    archive.setFileName(dir.write("l0.lzh", test::lzhLevel0({{"old.txt", kText, kModified}})));
    const std::vector<IndividualInfo64> listed = listAll(archive);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_STREQ(listed[0].info.szFileName, "old.txt");
    EXPECT_EQ(listed[0].originalSize, kText.size());
    // The header's fields are 2020-09-13 12:26:40; the time the layer completes from them
    // is that moment in the local zone, so within a day of the UTC moment.
    EXPECT_EQ(listed[0].info.wDate, ((2020 - 1980) << 9) | (9 << 5) | 13);
    EXPECT_EQ(listed[0].info.wTime, (12 << 11) | (26 << 5) | 20);
    const int64_t offset =
        static_cast<int64_t>(listed[0].writeTime) - static_cast<int64_t>(kModifiedFileTime);
    EXPECT_LE(std::llabs(offset), 14LL * 3600 * 10000000);
}

TEST(ArchiveLayerModules, ExtractsWithTheLayersCommandLines) {
    const RealModules modules;
    TempDir dir;
    // "[" and "-" are escaped on the ZIP command line; the module must undo it.
    const std::string odd = "dir-x/[set]-1.txt";
    const std::vector<WrittenMember> members = {{odd, kText, kModified},
                                                {"two.bin", kLong, kModified}};
    const std::vector<std::string> archives = {
        dir.write("a.lzh", test::lzhLevel2({{odd, kText, kModified}, {"two.bin", kLong, 0}})),
        dir.write("a.zip", test::writeArchive(WrittenKind::Zip, members)),
        dir.write("a.tar", test::writeArchive(WrittenKind::Tar, members)),
        dir.write("a.tgz", test::writeArchive(WrittenKind::TarGzip, members)),
        dir.write("a.tar.bz2", test::writeArchive(WrittenKind::TarBzip2, members)),
    };
    for (const std::string& path : archives) {
        SCOPED_TRACE(path);
        ArchiveFile archive;
        archive.setFileName(path);
        int32_t result = -1;
        EXPECT_EQ(extract(archive, odd, result), kText) << archive.commandLine();
        EXPECT_EQ(result, 0);
        EXPECT_EQ(extract(archive, "two.bin", result), kLong);
        EXPECT_EQ(result, 0);
        extract(archive, "absent.txt", result);
        EXPECT_NE(result, 0);
    }
}

TEST(ArchiveLayerModules, ZipNameStartingWithADashInAFolder) {
    const RealModules modules;
    TempDir dir;
    const std::string name = "-dir/[a]-b.txt";
    ArchiveFile archive;
    archive.setFileName(dir.write(
        "dash.zip", test::writeArchive(WrittenKind::Zip, {{"-dir/other.txt", kLong, kModified},
                                                          {name, kText, kModified}})));
    int32_t result = -1;
    EXPECT_EQ(extract(archive, name, result), kText);
    EXPECT_EQ(result, 0);
    EXPECT_NE(archive.commandLine().find("\"[-]dir/[[]a]-b.txt\""), std::string::npos)
        << archive.commandLine();
}

TEST(ArchiveLayerModules, CorruptArchiveFailsWithoutCrashing) {
    const RealModules modules;
    TempDir dir;
    std::vector<uint8_t> zip = test::writeArchive(WrittenKind::Zip, {{"a.txt", kLong, kModified}});
    zip.resize(zip.size() / 2);
    std::vector<uint8_t> lzh = test::lzhLevel2({{"a.txt", kLong, kModified}});
    lzh.resize(lzh.size() / 2);
    for (const std::string& path : {dir.write("cut.zip", zip), dir.write("cut.lzh", lzh)}) {
        SCOPED_TRACE(path);
        ArchiveFile archive;
        archive.setFileName(path);
        int32_t result = 0;
        try {
            extract(archive, "a.txt", result);
            EXPECT_NE(result, 0);
        } catch (const std::exception&) {
            // A caught failure is as good as an error result.
        }
    }
}

// The viewer reads archives on more than one thread (the shown picture and the ones
// prepared ahead). Modules are loaded on first use and their member callback is one for
// the whole process, so threads must take turns: each extraction gets its own bytes, and
// its callback sees only its own archive's members.
TEST(ArchiveLayerModules, ThreadsReadingArchivesAtOnceEachGetTheirOwnMembers) {
    const RealModules modules;
    TempDir dir;
    struct Source {
        std::string path;
        std::string member;
        std::vector<uint8_t> bytes;
    };
    std::vector<Source> sources;
    for (const auto& [name, kind] :
         {std::pair{"zip", WrittenKind::Zip}, std::pair{"tar", WrittenKind::Tar},
          std::pair{"tgz", WrittenKind::TarGzip}}) {
        const std::string member = std::string(name) + "/picture.bin";
        std::vector<uint8_t> bytes(1000 + sources.size() * 700, static_cast<uint8_t>(name[1]));
        sources.push_back({dir.write(std::string("set.") + name,
                                     test::writeArchive(kind, {{member, bytes, kModified}})),
                           member, bytes});
    }
    sources.push_back({dir.write("set.lzh", test::lzhLevel2({{"lzh/picture.bin", kLong, 0}})),
                       "lzh/picture.bin", kLong});

    // Two threads per archive, so first use and callbacks meet on the same module too.
    constexpr int kRounds = 20;
    std::vector<int> wrong(sources.size() * 2, 0);
    std::vector<int> seen(wrong.size(), 0);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&, t] {
            const Source& source = sources[t % sources.size()];
            for (int round = 0; round < kRounds; ++round) {
                ArchiveFile archive;
                archive.setFileName(source.path);
                archive.onEnumMember = [&](const ArcEnumMemberInfo64& member, bool&) {
                    wrong[t] += std::string(member.szFileName) == source.member ? 0 : 1;
                    ++seen[t];
                };
                int32_t result = -1;
                wrong[t] += extract(archive, source.member, result) == source.bytes ? 0 : 1;
                wrong[t] += listAll(archive).size() == 1 ? 0 : 1;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, std::vector<int>(wrong.size(), 0));
    EXPECT_EQ(seen, std::vector<int>(seen.size(), kRounds));
}

}  // namespace
}  // namespace ravinel
