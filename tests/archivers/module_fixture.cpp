#include "tests/archivers/module_fixture.h"

#include <gtest/gtest.h>

namespace ravinel::test {

namespace {

constexpr std::uint8_t kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 64;

ArchiverModule& loaded(ArchiverModule& module) {
    EXPECT_TRUE(module.complete());
    return module;
}

}  // namespace

ArchiverModule& unlha32() {
    static ArchiverModule module(UNLHA32_PATH, "Unlha");
    return loaded(module);
}
ArchiverModule& unzip32() {
    static ArchiverModule module(UNZIP32_PATH, "UnZip");
    return loaded(module);
}
ArchiverModule& tar32() {
    static ArchiverModule module(TAR32_PATH, "Tar");
    return loaded(module);
}
ArchiverModule& cab32() {
    static ArchiverModule module(CAB32_PATH, "Cab");
    return loaded(module);
}
ArchiverModule& unrar32() {
    static ArchiverModule module(UNRAR32_PATH, "Unrar");
    return loaded(module);
}
ArchiverModule& sevenZip32() {
    static ArchiverModule module(SEVENZIP32_PATH, "SevenZip");
    return loaded(module);
}

std::vector<ListedMember> listMembers(ArchiverModule& module, const std::string& path,
                                      const char* wildName) {
    std::vector<ListedMember> members;
    HARC archive = module.openArchive(nullptr, path.c_str(), 0);
    EXPECT_NE(archive, nullptr) << path;
    if (archive == nullptr) {
        return members;
    }
    ListedMember member;
    for (int32_t found = module.findFirst(archive, wildName, &member.info); found == 0;
         found = module.findNext(archive, &member.info)) {
        member.writeTimeResult = module.getWriteTimeEx(archive, &member.writeTime);
        ArcFileTime created = 0;
        member.createTimeResult = module.getCreateTimeEx(archive, &created);
        if (module.getOriginalSizeEx(archive, &member.originalSize) == 0) {
            member.originalSize = -1;
        }
        members.push_back(member);
        member = ListedMember{};
    }
    EXPECT_EQ(module.findNext(archive, &member.info), -1);
    EXPECT_EQ(module.closeArchive(archive), 0);
    return members;
}

std::vector<std::string> memberNames(ArchiverModule& module, const std::string& path,
                                     const char* wildName) {
    std::vector<std::string> names;
    for (const ListedMember& member : listMembers(module, path, wildName)) {
        names.emplace_back(member.info.szFileName);
    }
    return names;
}

Extracted extractMem(ArchiverModule& module, const std::string& commandLine, uint32_t bufferSize) {
    Bytes buffer(bufferSize + kGuardBytes, kGuard);
    Extracted extracted;
    extracted.written = 0xFFFFFFFF;
    extracted.result = module.extractMem(nullptr, commandLine.c_str(), buffer.data(), bufferSize,
                                         nullptr, nullptr, &extracted.written);
    for (std::size_t i = bufferSize; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kGuard) << "written past the buffer at " << i;
    }
    EXPECT_LE(extracted.written, bufferSize);
    extracted.data.assign(buffer.begin(), buffer.begin() + std::min(extracted.written, bufferSize));
    return extracted;
}

std::string lhaCommand(const std::string& archive, const std::string& member) {
    return " -+ -n1 -jso1 -gd1 -gs127 \"" + archive + "\" \"" + member + "\"";
}

std::string zipCommand(const std::string& archive, const std::string& member) {
    return " --i \"" + archive + "\" \"" + member + "\"";
}

std::string tarCommand(const std::string& archive, const std::string& member) {
    return " --display-dialog=0 -f \"" + archive + "\" \"" + member + "\"";
}

Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes noiseBytes(std::size_t size, std::uint32_t seed) {
    Bytes bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

}  // namespace ravinel::test
