// Broken and hostile archives: failure results, never a crash or a write past the buffer.
#include <gtest/gtest.h>

#include "tests/archivers/archive_writer.h"
#include "tests/archivers/lzh_writer.h"
#include "tests/archivers/module_fixture.h"

namespace ravinel::test {
namespace {

struct Sample {
    const char* name;
    ArchiverModule& (*module)();
    Bytes archive;
    std::string (*command)(const std::string&, const std::string&);
};

const Bytes& memberData() {
    static const Bytes data = noiseBytes(4000, 11);
    return data;
}

std::vector<Sample> samples() {
    const std::vector<WrittenMember> written = {{"m.bin", memberData(), 0}};
    return {{"cut.zip", unzip32, writeArchive(WrittenKind::Zip, written), zipCommand},
            {"cut.tar", tar32, writeArchive(WrittenKind::Tar, written), tarCommand},
            {"cut.tgz", tar32, writeArchive(WrittenKind::TarGzip, written), tarCommand},
            {"cut.tbz2", tar32, writeArchive(WrittenKind::TarBzip2, written), tarCommand},
            {"cut.7z", sevenZip32, writeArchive(WrittenKind::SevenZip, written), zipCommand},
            {"cut.lzh", unlha32, lzhLevel2({{"m.bin", memberData(), 0}}), lhaCommand}};
}

// Every cut either fails or, where the cut only lost trailing padding, gives the exact data.
TEST(BadInputTest, TruncatedArchivesFailOrGiveTheWholeMember) {
    for (const Sample& sample : samples()) {
        const std::size_t size = sample.archive.size();
        for (std::size_t cut = 0; cut < size; cut += cut < 600 ? 7 : 97) {
            const TemporaryFile file(sample.name,
                                     Bytes(sample.archive.begin(), sample.archive.begin() + cut));
            ArchiverModule& module = sample.module();
            module.checkArchive(file.path().c_str(), 24);
            HARC archive = module.openArchive(nullptr, file.path().c_str(), 0);
            if (archive != nullptr) {
                ArcIndividualInfo info{};
                module.findFirst(archive, "*", &info);
                module.closeArchive(archive);
            }
            const Extracted extracted =
                extractMem(module, sample.command(file.path(), "m.bin"), 8000);
            if (extracted.result == 0) {
                EXPECT_EQ(extracted.data, memberData()) << sample.name << " cut at " << cut;
            }
        }
    }
}

TEST(BadInputTest, GarbageIsNoArchiveOfAnyModule) {
    const TemporaryFile garbage("garbage.bin", noiseBytes(5000, 5));
    const TemporaryFile empty("empty.bin", {});
    for (ArchiverModule* module :
         {&unlha32(), &unzip32(), &tar32(), &cab32(), &unrar32(), &sevenZip32()}) {
        for (const TemporaryFile* file : {&garbage, &empty}) {
            EXPECT_EQ(module->checkArchive(file->path().c_str(), 16), 0);
            EXPECT_EQ(module->openArchive(nullptr, file->path().c_str(), 0), nullptr);
            EXPECT_EQ(module->getArchiveType(file->path().c_str()), 0);
            EXPECT_EQ(extractMem(*module, zipCommand(file->path(), "m.bin"), 100).result,
                      ARC_ERROR_NOT_ARC_FILE);
        }
    }
}

TEST(BadInputTest, AZipBombStopsAtTheBuffer) {
    const Bytes zeros(64 << 20, 0);
    const TemporaryFile zip("bomb.zip", writeArchive(WrittenKind::Zip, {{"zeros", zeros, 0}}));
    const TemporaryFile tgz("bomb.tgz", writeArchive(WrittenKind::TarGzip, {{"zeros", zeros, 0}}));
    EXPECT_EQ(extractMem(unzip32(), zipCommand(zip.path(), "zeros"), 1 << 20).result,
              ARC_ERROR_MORE_HEAP_MEMORY);
    EXPECT_EQ(extractMem(tar32(), tarCommand(tgz.path(), "zeros"), 1 << 20).result,
              ARC_ERROR_MORE_HEAP_MEMORY);
}

TEST(BadInputTest, ASingleCompressedFileStopsAtTheBuffer) {
    const TemporaryFile gz("bomb.gz",
                           writeArchive(WrittenKind::Gzip, {{"x", Bytes(8 << 20, 'A'), 0}}));
    const Extracted extracted =
        extractMem(tar32(), tarCommand(gz.path(), gz.path().stem()), 1 << 16);
    EXPECT_EQ(extracted.result, ARC_ERROR_MORE_HEAP_MEMORY);
    EXPECT_EQ(extracted.written, 1u << 16);
}

// The claim runs past the end of the file: the archive is broken, and nothing is read.
TEST(BadInputTest, AMemberClaimingFourGibibytesIsRefused) {
    const TemporaryFile tar(
        "claims.tar", claimFirstTarMemberSize(
                          writeArchive(WrittenKind::Tar, {{"huge.bmp", textBytes("BM tiny"), 0}}),
                          uint64_t{4} << 30));
    EXPECT_EQ(tar32().openArchive(nullptr, tar.path().c_str(), 0), nullptr);
    const Extracted extracted = extractMem(tar32(), tarCommand(tar.path(), "huge.bmp"), 1 << 20);
    EXPECT_EQ(extracted.result, ARC_ERROR_MORE_HEAP_MEMORY);
    EXPECT_EQ(extracted.written, 0u);
}

}  // namespace
}  // namespace ravinel::test
