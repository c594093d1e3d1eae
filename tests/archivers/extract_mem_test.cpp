// ExtractMem with the command lines the archive layer sends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/archivers/archive_writer.h"
#include "tests/archivers/module_fixture.h"

namespace ravinel::test {
namespace {

std::vector<WrittenMember> members() {
    return {{"one.bmp", noiseBytes(10000, 3), 0},
            {"dir/two.txt", textBytes("second"), 0},
            {"-[x]/three.bin", noiseBytes(100, 4), 0},
            {"empty", {}, 0}};
}

void expectEveryMemberExtracts(ArchiverModule& module, const TemporaryFile& file,
                               std::string (*command)(const std::string&, const std::string&)) {
    for (const WrittenMember& member : members()) {
        const Extracted extracted = extractMem(module, command(file.path(), member.name), 20000);
        EXPECT_EQ(extracted.result, 0) << member.name;
        EXPECT_EQ(extracted.data, member.data) << member.name;
    }
}

TEST(ExtractMemTest, ExtractsEachMemberOfATar) {
    for (WrittenKind kind : {WrittenKind::Tar, WrittenKind::TarGzip, WrittenKind::TarBzip2}) {
        const TemporaryFile file("extract.tar", writeArchive(kind, members()));
        expectEveryMemberExtracts(tar32(), file, tarCommand);
    }
}

// The layer writes a leading "-" as "[-]" and every "[" as "[[]", in the archive path too.
std::string escapedZipCommand(const std::string& archive, const std::string& member) {
    auto escape = [](const std::string& name) {
        std::string out;
        for (std::size_t i = 0; i < name.size(); ++i) {
            out += i == 0 && name[i] == '-' ? std::string("[-]")
                   : name[i] == '['         ? std::string("[[]")
                                            : std::string(1, name[i]);
        }
        return out;
    };
    return zipCommand(escape(archive), escape(member));
}

TEST(ExtractMemTest, ExtractsEachMemberOfAZipThroughTheEscapes) {
    const TemporaryFile file("[zip]extract.zip", writeArchive(WrittenKind::Zip, members()));
    expectEveryMemberExtracts(unzip32(), file, escapedZipCommand);
    const Extracted backslashed =
        extractMem(unzip32(), zipCommand(file.path(), "dir\\two.txt"), 100);
    EXPECT_EQ(backslashed.result, 0);
    EXPECT_EQ(backslashed.data, textBytes("second"));
}

TEST(ExtractMemTest, ExtractsFromSevenZipWithAPlainCommandLine) {
    const TemporaryFile file("extract.7z", writeArchive(WrittenKind::SevenZip, members()));
    expectEveryMemberExtracts(sevenZip32(), file, zipCommand);
}

TEST(ExtractMemTest, OtherSwitchesAreSkipped) {
    const TemporaryFile tar("switches.tar", writeArchive(WrittenKind::Tar, members()));
    const TemporaryFile zip("switches.zip", writeArchive(WrittenKind::Zip, members()));
    const std::string tarLine = " -AH -g -z9 --display-dialog=0 -o \"/nonexistent/folder\" -f \"" +
                                tar.path().string() + "\" \"dir/two.txt\"";
    EXPECT_EQ(extractMem(tar32(), tarLine, 100).data, textBytes("second"));
    const std::string zipLine = "\t-o -j --i \"" + zip.path().string() + "\"\t\"dir/two.txt\"";
    EXPECT_EQ(extractMem(unzip32(), zipLine, 100).data, textBytes("second"));
}

TEST(ExtractMemTest, ABufferTooSmallFailsWithoutWritingPastIt) {
    const TemporaryFile zip("small.zip", writeArchive(WrittenKind::Zip, members()));
    const TemporaryFile tgz("small.tgz", writeArchive(WrittenKind::TarGzip, members()));
    const Extracted fromZip = extractMem(unzip32(), zipCommand(zip.path(), "one.bmp"), 9999);
    EXPECT_EQ(fromZip.result, ARC_ERROR_MORE_HEAP_MEMORY);
    const Extracted fromTgz = extractMem(tar32(), tarCommand(tgz.path(), "one.bmp"), 100);
    EXPECT_EQ(fromTgz.result, ARC_ERROR_MORE_HEAP_MEMORY);
    const Extracted exact = extractMem(unzip32(), zipCommand(zip.path(), "one.bmp"), 10000);
    EXPECT_EQ(exact.result, 0);
    EXPECT_EQ(exact.data.size(), 10000u);
}

TEST(ExtractMemTest, UnknownMembersAndBadCommandLinesFail) {
    const TemporaryFile zip("missing.zip", writeArchive(WrittenKind::Zip, members()));
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "none.bmp"), 100).result,
              ARC_ERROR_NOT_EXIST);
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "ONE.BMP"), 20000).result,
              ARC_ERROR_NOT_EXIST);
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "dir"), 100).result,
              ARC_ERROR_NOT_EXIST);
    EXPECT_EQ(extractMem(unzip32(), zipCommand("/nonexistent.zip", "one.bmp"), 100).result,
              ARC_ERROR_ARC_FILE_OPEN);
    EXPECT_EQ(extractMem(unzip32(), " --i \"" + zip.path().string() + "\"", 100).result,
              ARC_ERROR_ILLEGAL_PARAMETER);
    EXPECT_EQ(extractMem(unzip32(), " --i", 100).result, ARC_ERROR_ILLEGAL_PARAMETER);
    EXPECT_EQ(unzip32().extractMem(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr),
              ARC_ERROR_NULL_POINTER);
}

TEST(ExtractMemTest, TimeAttributeAndWrittenSizeAreOptional) {
    const TemporaryFile tar("optional.tar",
                            writeArchive(WrittenKind::Tar, {{"a", textBytes("abc"), 1234567}}));
    const std::string line = tarCommand(tar.path(), "a");
    std::uint8_t buffer[8] = {};
    EXPECT_EQ(
        tar32().extractMem(nullptr, line.c_str(), buffer, sizeof buffer, nullptr, nullptr, nullptr),
        0);
    int64_t time = 0;
    uint16_t attribute = 0;
    uint32_t written = 0;
    EXPECT_EQ(tar32().extractMem(nullptr, line.c_str(), buffer, sizeof buffer, &time, &attribute,
                                 &written),
              0);
    EXPECT_EQ(time, 1234567);
    EXPECT_EQ(attribute, 0x20);
    EXPECT_EQ(written, 3u);
}

int32_t countingProc(const ArcEnumMemberInfo64* info);
int enumerated = 0;
std::string enumeratedName;
int32_t answer = 1;
int32_t countingProc(const ArcEnumMemberInfo64* info) {
    ++enumerated;
    enumeratedName = info->szFileName;
    return answer;
}

TEST(ExtractMemTest, TheEnumerationCallbackSeesTheMemberAndCanStop) {
    const TemporaryFile zip("enum.zip", writeArchive(WrittenKind::Zip, members()));
    enumerated = 0;
    answer = -1;
    EXPECT_NE(unzip32().setEnumMembersProc64(countingProc, 1094), 0);
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "dir/two.txt"), 100).result, 0);
    EXPECT_EQ(enumerated, 1);
    EXPECT_EQ(enumeratedName, "dir/two.txt");
    answer = 0;
    const Extracted stopped = extractMem(unzip32(), zipCommand(zip.path(), "dir/two.txt"), 100);
    EXPECT_EQ(stopped.result, ARC_ERROR_USER_CANCEL);
    EXPECT_EQ(stopped.written, 0u);
    EXPECT_NE(unzip32().clearEnumMembersProc64(), 0);
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "dir/two.txt"), 100).result, 0);
    EXPECT_EQ(enumerated, 2);
}

TEST(ExtractMemTest, HostileNamesAreOnlyNames) {
    const std::string outside = "ravinel-archiver-escape-" + std::to_string(::getpid());
    const std::vector<WrittenMember> hostile = {{"../" + outside, textBytes("up"), 0},
                                                {"/tmp/" + outside, textBytes("abs"), 0}};
    const TemporaryFile tar("hostile.tar", writeArchive(WrittenKind::Tar, hostile));
    const TemporaryFile zip("hostile.zip", writeArchive(WrittenKind::Zip, hostile));
    EXPECT_EQ(extractMem(tar32(), tarCommand(tar.path(), hostile[0].name), 10).data,
              textBytes("up"));
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), hostile[0].name), 10).data,
              textBytes("up"));
    const auto temporary = std::filesystem::temp_directory_path();
    EXPECT_FALSE(std::filesystem::exists(temporary.parent_path() / outside));
    EXPECT_FALSE(std::filesystem::exists("/tmp/" + outside));
    EXPECT_FALSE(std::filesystem::exists(outside));
}

TEST(ExtractMemTest, CommandsThatWriteAreRefused) {
    char output[16] = "unchanged";
    EXPECT_NE(unlha32().command(nullptr, "a archive.lzh file", output, sizeof output), 0);
    EXPECT_STREQ(output, "");
    EXPECT_NE(unzip32().command(nullptr, "-d x.zip y", nullptr, 0), 0);
    EXPECT_NE(unzip32().setOwnerWindowEx(nullptr, nullptr), 0);
    EXPECT_NE(unzip32().killOwnerWindowEx(nullptr), 0);
}

}  // namespace
}  // namespace ravinel::test
