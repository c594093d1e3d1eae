#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archiver_error.h"
#include "tests/core/archive/archive_fixture.h"
#include "tests/expect_error.h"

namespace ravinel {
namespace {

using testing::ArchiverModuleFolder;
using testing::expectError;
using testing::FakeMember;
using testing::folderOf;
using testing::TempDir;
using testing::writeFakeArchive;

void copyModule(const TempDir& dir, const std::string& from, const std::string& to) {
    std::filesystem::copy_file(std::string(RAVINEL_ARCHIVER_FIXTURE_DIR) + "/" + from,
                               dir.path(to));
}

// The command line a stand-in module received last.
std::string lastCommandOf(const std::string& modulePath, const std::string& symbol) {
    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (module == nullptr) {
        return "(not loaded)";
    }
    using Fn = const char* (*)();
    const auto fn = reinterpret_cast<Fn>(dlsym(module, symbol.c_str()));
    std::string text = fn != nullptr ? fn() : "(no export)";
    dlclose(module);
    return text;
}

const std::vector<FakeMember> kMembers = {{"a[1]\\b.jpg", {1, 2, 3}}};

TEST(ArchiveZipModules, LmzipAloneServesWithItsLowerCaseNames) {
    TempDir dir;
    copyModule(dir, "lmzip32.so", "lmzip32.so");
    const ArchiverModuleFolder folder(folderOf(dir));
    const std::string zip = writeFakeArchive(dir, "a.zip", kMembers);
    ArchiveFile archive;
    archive.setFileName(zip);
    ASSERT_EQ(archive.openArchive(nullptr, 0), 0);
    IndividualInfo64 info;
    ASSERT_EQ(archive.findFirst("*", info), 0);
    EXPECT_STREQ(info.info.szFileName, "a[1]\\b.jpg");
    archive.closeArchive();
}

TEST(ArchiveZipModules, ExtractionPrefersUnzipAndSendsEscapedNames) {
    TempDir dir;
    copyModule(dir, "lmzip32.so", "lmzip32.so");
    copyModule(dir, "unzip32.so", "unzip32.so");
    const ArchiverModuleFolder folder(folderOf(dir));
    ArchiveFile archive;
    archive.setFileName(writeFakeArchive(dir, "a.zip", kMembers));
    archive.options.setNumber("n", 1);
    std::vector<uint8_t> buffer(8);
    // The stand-in looks the member up by the escaped name, so it is not found; what
    // counts here is which module got which line.
    archive.extractMem(nullptr, nullptr, "a[1]\\b.jpg", buffer.data(), 8, nullptr);
    const std::string expected = " --i \"" + dir.path("a.zip") + "\" \"a[[]1]/b.jpg\"";
    EXPECT_EQ(archive.commandLine(), expected);
    EXPECT_EQ(lastCommandOf(dir.path("unzip32.so"), "UnZipFakeLastCommand"), expected);
    EXPECT_EQ(lastCommandOf(dir.path("lmzip32.so"), "UnzipFakeLastCommand"), "");
}

TEST(ArchiveZipModules, MissingExportHasTheZipMessage) {
    TempDir dir;
    copyModule(dir, "unlha32.so", "unzip32.so");
    const ArchiverModuleFolder folder(folderOf(dir));
    ArchiveFile archive;
    archive.setFileName(writeFakeArchive(dir, "a.zip", kMembers));
    expectError<EntryNotFoundError>([&] { archive.openArchive(nullptr, 0); },
                                    "UnZipOpenArchive のエントリが DLL に見つかりませんでした。");
}

TEST(ArchiveModules, RecordTextsAreAlwaysTerminated) {
    const ArchiverModuleFolder folder(RAVINEL_ARCHIVER_FIXTURE_DIR);
    TempDir dir;
    ArchiveFile archive;
    archive.setFileName(writeFakeArchive(dir, "a.lzh", {{"FILL", {1}}}));
    ASSERT_EQ(archive.openArchive(nullptr, 0), 0);
    IndividualInfo64 info;
    ASSERT_EQ(archive.findFirst("*", info), 0);
    EXPECT_EQ(std::strlen(info.info.szFileName), 512u);
    EXPECT_EQ(std::strlen(info.info.szAttribute), 7u);
    EXPECT_EQ(std::strlen(info.info.szMode), 7u);
}

}  // namespace
}  // namespace ravinel
