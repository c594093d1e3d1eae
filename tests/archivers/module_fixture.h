// What the archiver tests share: the modules, archive files and the calls' results.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/archivers/archiver_module.h"
#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

ArchiverModule& unlha32();
ArchiverModule& unzip32();
ArchiverModule& tar32();
ArchiverModule& cab32();
ArchiverModule& unrar32();
ArchiverModule& sevenZip32();

struct ListedMember {
    ArcIndividualInfo info{};
    ArcFileTime writeTime = 0;
    int32_t writeTimeResult = 0;
    int32_t createTimeResult = 0;
    int64_t originalSize = -1;
};

// Opens the archive, lists the members matching wildName, closes it.
std::vector<ListedMember> listMembers(ArchiverModule& module, const std::string& path,
                                      const char* wildName = "*");
std::vector<std::string> memberNames(ArchiverModule& module, const std::string& path,
                                     const char* wildName = "*");

struct Extracted {
    int32_t result = -1;
    uint32_t written = 0;
    Bytes data;  // the written bytes
};

// ExtractMem into a buffer of bufferSize followed by guard bytes, which must stay intact.
Extracted extractMem(ArchiverModule& module, const std::string& commandLine, uint32_t bufferSize);

// The command lines the archive layer sends with the viewer's options.
std::string lhaCommand(const std::string& archive, const std::string& member);
std::string zipCommand(const std::string& archive, const std::string& member);
std::string tarCommand(const std::string& archive, const std::string& member);

Bytes textBytes(const std::string& text);
// Bytes that do not compress well.
Bytes noiseBytes(std::size_t size, std::uint32_t seed);

}  // namespace ravinel::test
