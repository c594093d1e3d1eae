#include "archive/archive_file.h"

#include <errno.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_type_detection.h"
#include "archive/archiver_error.h"
#include "tests/core/archive/archive_fixture.h"
#include "tests/expect_error.h"
#include "tests/scoped_env.h"

namespace ravinel {
namespace {

using testing::ArchiverModuleFolder;
using testing::expectError;
using testing::FakeMember;
using testing::folderOf;
using testing::ScopedEnv;
using testing::TempDir;
using testing::writeFakeArchive;

// 2020-01-02 03:04:06 as a DOS date and time.
constexpr uint16_t kDosDate = ((2020 - 1980) << 9) | (1 << 5) | 2;
constexpr uint16_t kDosTime = (3 << 11) | (4 << 5) | 3;

const std::vector<FakeMember> kMembers = {
    {"pics/one.bmp", {'B', 'M', 1, 2, 3}, kDosDate, kDosTime},
    {"two.txt", {'h', 'i'}, 0, 0},
};

TEST(ArchiveFileType, FromTheNameIgnoringCase) {
    ArchiveFile archive;
    EXPECT_EQ(archive.archiverType(), ArchiverType::atAutoDetect);
    archive.setFileName("/x/PICS.ZIP");
    EXPECT_EQ(archive.archiverType(), ArchiverType::atZip);
    EXPECT_EQ(archive.fileName(), "/x/PICS.ZIP");
    EXPECT_EQ(archiverTypeOfName("a.Tgz"), ArchiverType::atTgz);
    EXPECT_EQ(archiverTypeOfName("a.deb"), ArchiverType::atTar);
    EXPECT_EQ(archiverTypeOfName("a.bza"), ArchiverType::atBga);
    EXPECT_EQ(archiverTypeOfName("a.gca"), ArchiverType::atGCA);

    // An unknown extension is atNone, which the setter ignores.
    ArchiveFile other;
    other.setFileName("/x/pics.dat");
    EXPECT_EQ(other.archiverType(), ArchiverType::atAutoDetect);
    archive.setFileName("/x/pics.dat");
    EXPECT_EQ(archive.archiverType(), ArchiverType::atZip);
}

TEST(ArchiveFileType, SetterRules) {
    ArchiveFile archive;
    archive.setArchiverType(ArchiverType::atLha);
    archive.setArchiverType(ArchiverType::atNone);
    EXPECT_EQ(archive.archiverType(), ArchiverType::atLha);
    for (const ArchiverType type : {ArchiverType::atGCA, ArchiverType::atBel}) {
        expectError<ArchiverError>([&] { archive.setArchiverType(type); },
                                   "書庫の形式を特定できませんでした。");
    }
    expectError<ArchiverError>([&] { archive.setFileName("old.gca"); },
                               "書庫の形式を特定できませんでした。");
    EXPECT_EQ(archive.archiverType(), ArchiverType::atLha);
}

TEST(ArchiveFileModules, MissingModulesRaiseTheirMessages) {
    TempDir empty;
    const ArchiverModuleFolder folder(folderOf(empty));
    const std::string lzh = writeFakeArchive(empty, "a.lzh", kMembers);
    ArchiveFile archive;
    archive.setFileName(lzh);
    expectError<NoArchiverDllError>([&] { archive.openArchive(nullptr, 0); },
                                    "LHA 形式書庫 を扱うには UNLHA32.DLL が 必要です。");
    archive.setFileName(empty.path("a.zip"));
    expectError<NoArchiverDllError>(
        [&] { archive.openArchive(nullptr, 0); },
        "ZIP 形式書庫の解凍には UNZIP32.DLL または LMZIP32.DLL が必要です。");
    archive.setFileName(empty.path("a.7z"));
    expectError<NoArchiverDllError>([&] { archive.openArchive(nullptr, 0); },
                                    "7z 形式書庫 を扱うには 7-zip32.dll が 必要です。");

    // With no module every probe refuses: no archiver, and opening says so.
    ArchiveFile unknown;
    unknown.setFileName(empty.path("a.exe"));
    EXPECT_EQ(unknown.archiverType(), ArchiverType::atAutoDetect);
    expectError<ArchiverError>([&] { unknown.openArchive(nullptr, 0); },
                               "書庫の形式を判別できません。");
}

// Modules are code: one that others could have put in place is refused and named on
// stderr, and its format then lacks its module. A relative module folder is not used.
TEST(ArchiveFileModules, ModulesLoadOnlyFromWhatOthersCannotChange) {
    TempDir dir;
    const std::string open = std::filesystem::canonical(dir.path("")).string() + "/open";
    std::filesystem::create_directory(open);
    std::filesystem::permissions(open, std::filesystem::perms::all);
    std::filesystem::copy_file(std::string(RAVINEL_ARCHIVER_FIXTURE_DIR) + "/unlha32.so",
                               open + "/unlha32.so");
    {
        const ArchiverModuleFolder folder(open);
        ArchiveFile archive;
        archive.setFileName(writeFakeArchive(dir, "a.lzh", kMembers));
        ::testing::internal::CaptureStderr();
        expectError<NoArchiverDllError>([&] { archive.openArchive(nullptr, 0); },
                                        "LHA 形式書庫 を扱うには UNLHA32.DLL が 必要です。");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(),
                  std::string(program_invocation_short_name) + ": " + open +
                      "/unlha32.so not loaded (not trusted: " + open + " is writable by others)\n");
    }
    const ScopedEnv relative("RAVINEL_ARCHIVER_DIR", "open");
    EXPECT_EQ(archiverModuleFolder(),
              std::filesystem::canonical("/proc/self/exe").parent_path().string());
}

TEST(ArchiveFileModules, MissingExportNamesModuleAndExport) {
    TempDir dir;
    const ArchiverModuleFolder folder(folderOf(dir));
    // A module with the wrong prefix lacks every export the CAB archiver asks for.
    std::filesystem::copy_file(std::string(RAVINEL_ARCHIVER_FIXTURE_DIR) + "/unlha32.so",
                               dir.path("cab32.so"));
    ArchiveFile archive;
    archive.setFileName(writeFakeArchive(dir, "a.cab", kMembers));
    expectError<EntryNotFoundError>(
        [&] { archive.openArchive(nullptr, 0); },
        folderOf(dir) + "/cab32.so に CabOpenArchive のエントリが見つかりません。");
}

TEST(ArchiveFileModules, ListingCompletesTimesAndSizesFromTheRecord) {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    ArchiveFile archive;
    archive.setFileName(writeFakeArchive(dir, "a.lzh", kMembers));
    ASSERT_EQ(archive.openArchive(nullptr, 0), 0);
    std::vector<IndividualInfo64> listed;
    IndividualInfo64 info;
    for (int32_t result = archive.findFirst("*", info); result == 0;
         result = archive.findNext(info)) {
        listed.push_back(info);
    }
    archive.closeArchive();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_STREQ(listed[0].info.szFileName, "pics/one.bmp");
    // 2020-01-02 03:04:06 UTC in 100 ns steps since 1601.
    const ArcFileTime expected = (1577934246ULL + 11644473600ULL) * 10000000ULL;
    EXPECT_EQ(listed[0].writeTime, expected);
    EXPECT_EQ(listed[0].createTime, expected);
    EXPECT_EQ(listed[0].accessTime, expected);
    EXPECT_EQ(listed[0].originalSize, 5u);
    EXPECT_EQ(listed[0].compressedSize, 5u);
    EXPECT_EQ(listed[1].writeTime, 0u);
    EXPECT_EQ(listed[1].originalSize, 2u);

    // A failed open keeps no handle and reports 1.
    ArchiveFile broken;
    broken.setFileName(dir.write("b.lzh", std::vector<uint8_t>{'x'}));
    EXPECT_EQ(broken.openArchive(nullptr, 0), 1);
    ::unsetenv("TZ");
    ::tzset();
}

TEST(ArchiveFileModules, ContentProbesLetLhaWin) {
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    // Both stand-in modules accept the file: the TAR probe first, then LHA overrides.
    const std::string exe = writeFakeArchive(dir, "setup.EXE", kMembers);
    EXPECT_EQ(archiverTypeOfContent(exe), ArchiverType::atLha);
    ArchiveFile archive;
    archive.setFileName(exe);
    EXPECT_EQ(archive.archiverType(), ArchiverType::atLha);

    ArchiveFile dat;
    dat.setFileName(writeFakeArchive(dir, "pics.dat", kMembers));
    EXPECT_EQ(dat.archiverType(), ArchiverType::atAutoDetect);
    EXPECT_EQ(dat.openArchive(nullptr, 0), 0);
    EXPECT_EQ(dat.archiverType(), ArchiverType::atLha);

    EXPECT_EQ(archiverTypeOfContent(dir.write("plain.exe", std::vector<uint8_t>{'M', 'Z'})),
              ArchiverType::atNone);
}

TEST(ArchiveFileModules, ExtractMemSendsTheCommandLineAndEnumeratesMembers) {
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    const std::string lzh = writeFakeArchive(dir, "a.lzh", kMembers);
    ArchiveFile archive;
    archive.setFileName(lzh);
    archive.options.setNumber("jso", 1);
    std::vector<std::string> enumerated;
    archive.onEnumMember = [&](const ArcEnumMemberInfo64& member, bool&) {
        enumerated.push_back(member.szFileName);
    };
    std::vector<uint8_t> buffer(16, 0xEE);
    uint32_t written = 0;
    ASSERT_EQ(archive.extractMem(nullptr, nullptr, "pics/one.bmp", buffer.data(), 4, &written), 0);
    EXPECT_EQ(archive.commandLine(), " -+ -jso1 \"" + lzh + "\" \"pics/one.bmp\"");
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(buffer[3], 2);
    EXPECT_EQ(buffer[4], 0xEE);  // never past the size given
    EXPECT_EQ(enumerated, std::vector<std::string>{"pics/one.bmp"});

    // A handler that asks to stop ends the extraction with the module's error.
    archive.onEnumMember = [](const ArcEnumMemberInfo64&, bool& abort) { abort = true; };
    EXPECT_NE(archive.extractMem(nullptr, nullptr, "two.txt", buffer.data(), 16, &written), 0);
    EXPECT_NE(archive.extractMem(nullptr, nullptr, "absent", buffer.data(), 16, &written), 0);

    ArchiveFile none;
    expectError<ArchiverError>(
        [&] { none.extractMem(nullptr, nullptr, "m", buffer.data(), 16, nullptr); },
        "書庫の形式を判別できません。");
    EXPECT_TRUE(none.commandLine().empty());
}

}  // namespace
}  // namespace ravinel
