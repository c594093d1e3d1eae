#include <string>
#include <vector>

#include "archive/archive_file.h"
#include "archive/archiver_dll.h"
#include "archive/archiver_error.h"
#include "tools/fuzz/targets/fuzz_targets.h"
#include "tools/fuzz/targets/scratch_folder.h"

namespace ravinel::fuzz {
namespace {

struct ArchiveCase {
    ArchiverType type;
    const char* fileName;
};

// The formats the bundled modules read, and detection from the content.
constexpr ArchiveCase kCases[] = {
    {ArchiverType::atLha, "archive.lzh"},       {ArchiverType::atZip, "archive.zip"},
    {ArchiverType::atCab, "archive.cab"},       {ArchiverType::atTar, "archive.tar"},
    {ArchiverType::atTgz, "archive.tgz"},       {ArchiverType::atBZ2, "archive.tar.bz2"},
    {ArchiverType::atRar, "archive.rar"},       {ArchiverType::at7z, "archive.7z"},
    {ArchiverType::atAutoDetect, "archive.bin"}};

// Members listed and extracted per archive: enough to pass the first ones' records.
constexpr int kMaxMembersListed = 4096;
constexpr size_t kMaxMembersExtracted = 4;
// The caller's buffer; a module must stop at its end whatever a member claims.
constexpr uint32_t kExtractBufferBytes = 1024 * 1024;

void useModulesOfTheBuild() {
    static const bool done = [] {
        setArchiverModuleFolder(RAVINEL_MODULE_DIR);
        return true;
    }();
    (void)done;
}

std::vector<std::string> listMembers(ArchiveFile& archive) {
    std::vector<std::string> names;
    if (archive.openArchive(nullptr, 0) != 0) {
        return names;
    }
    IndividualInfo64 info;
    int32_t result = archive.findFirst("*", info);
    for (int listed = 0; result == 0 && listed < kMaxMembersListed; ++listed) {
        if (names.size() < kMaxMembersExtracted) {
            names.emplace_back(info.info.szFileName);
        }
        result = archive.findNext(info);
    }
    archive.closeArchive();
    return names;
}

}  // namespace

// Input: the format (first byte, modulo the cases), then the archive file.
void fuzzArchive(FuzzInput data) {
    if (data.empty() || data.size() > kMaxFuzzInputBytes) {
        return;
    }
    useModulesOfTheBuild();
    const ArchiveCase& c = kCases[data[0] % std::size(kCases)];
    const std::string path = writeScratchFile(c.fileName, data.subspan(1));
    try {
        ArchiveFile archive;
        archive.setFileName(path);
        archive.setArchiverType(c.type);
        // One buffer for the whole run: clearing a fresh megabyte per input costs more
        // than the archive reading itself.
        static std::vector<uint8_t> buffer(kExtractBufferBytes);
        for (const std::string& member : listMembers(archive)) {
            uint32_t written = 0;
            archive.extractMem(nullptr, nullptr, member, buffer.data(), kExtractBufferBytes,
                               &written);
            if (written > kExtractBufferBytes) {
                throw std::logic_error("a module reports more bytes than its buffer holds");
            }
        }
    } catch (const ArchiverError&) {
    }
}

}  // namespace ravinel::fuzz
