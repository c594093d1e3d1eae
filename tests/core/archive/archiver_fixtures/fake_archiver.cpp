// A stand-in archiver module for tests. It reads a made-up archive format: the line
// "FAKEARC", then per member a line "name<TAB>size<TAB>dosdate<TAB>dostime" followed by
// size bytes; a member whose name starts with "FILL" is listed with texts that lack
// their terminating zero. It has no time or size exports, so the layer completes records itself,
// and it remembers the last command line it was given (FIXTURE_PREFIX##FakeLastCommand).
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "archiver_api.h"

#define JOIN2(a, b) a##b
#define JOIN(a, b) JOIN2(a, b)
#define EXPORT_NAME(name) JOIN(FIXTURE_PREFIX, name)

namespace {

struct Member {
    std::string name;
    std::string bytes;
    uint16_t date = 0;
    uint16_t time = 0;
};

struct Archive {
    std::vector<Member> members;
    std::string wild;
    size_t next = 0;
};

constexpr int32_t kErrorNotFound = 0x8006;
constexpr int32_t kErrorCancelled = 0x8020;

std::string lastCommand;
ArcEnumMembersProc64 enumProc = nullptr;

bool readArchive(const char* path, std::vector<Member>& members) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || line != "FAKEARC") {
        return false;
    }
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Member m;
        size_t size = 0;
        if (!std::getline(fields, m.name, '\t') || !(fields >> size >> m.date >> m.time)) {
            return false;
        }
        m.bytes.resize(size);
        if (!in.read(m.bytes.data(), static_cast<std::streamsize>(size))) {
            return false;
        }
        members.push_back(std::move(m));
    }
    return true;
}

void fill(const Member& m, ArcIndividualInfo* info) {
    std::memset(info, 0, sizeof(*info));
    info->dwOriginalSize = static_cast<uint32_t>(m.bytes.size());
    info->dwCompressedSize = static_cast<uint32_t>(m.bytes.size());
    info->wDate = m.date;
    info->wTime = m.time;
    std::strncpy(info->szFileName, m.name.c_str(), ARC_FNAME_MAX32);
    std::strcpy(info->szMode, "-lh0-");
    if (m.name.starts_with("FILL")) {
        // A careless module: texts without their terminating zero.
        std::memset(info->szFileName, 'F', sizeof(info->szFileName));
        std::memset(info->szAttribute, 'A', sizeof(info->szAttribute));
        std::memset(info->szMode, 'M', sizeof(info->szMode));
    }
}

int32_t findFrom(Archive* archive, ArcIndividualInfo* info) {
    while (archive->next < archive->members.size()) {
        const Member& m = archive->members[archive->next++];
        if (archive->wild == "*" || archive->wild == m.name) {
            fill(m, info);
            return 0;
        }
    }
    return -1;
}

// The quoted words of a command line, in order.
std::vector<std::string> quotedWords(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while ((at = line.find('"', at)) != std::string::npos) {
        const size_t end = line.find('"', at + 1);
        if (end == std::string::npos) {
            break;
        }
        words.push_back(line.substr(at + 1, end - at - 1));
        at = end + 1;
    }
    return words;
}

}  // namespace

extern "C" {

ARC_EXPORT const char* EXPORT_NAME(FakeLastCommand)() {
    return lastCommand.c_str();
}

ARC_EXPORT int32_t FIXTURE_PREFIX(ArcWindow, const char* commandLine, char*, uint32_t) {
    lastCommand = commandLine;
    return 0;
}

ARC_EXPORT HARC EXPORT_NAME(OpenArchive)(ArcWindow, const char* path, uint32_t) {
    auto archive = std::make_unique<Archive>();
    if (!readArchive(path, archive->members)) {
        return nullptr;
    }
    return archive.release();
}

ARC_EXPORT int32_t EXPORT_NAME(CloseArchive)(HARC archive) {
    delete static_cast<Archive*>(archive);
    return 0;
}

ARC_EXPORT int32_t EXPORT_NAME(FindFirst)(HARC handle, const char* wildName,
                                          ArcIndividualInfo* info) {
    auto* archive = static_cast<Archive*>(handle);
    archive->wild = wildName;
    archive->next = 0;
    return findFrom(archive, info);
}

ARC_EXPORT int32_t EXPORT_NAME(FindNext)(HARC handle, ArcIndividualInfo* info) {
    return findFrom(static_cast<Archive*>(handle), info);
}

ARC_EXPORT int32_t EXPORT_NAME(CheckArchive)(const char* path, int32_t) {
    std::vector<Member> members;
    return readArchive(path, members) ? 1 : 0;
}

ARC_EXPORT int32_t EXPORT_NAME(GetArchiveType)(const char* path) {
    std::vector<Member> members;
    return readArchive(path, members) ? 1 : 0;
}

ARC_EXPORT int32_t EXPORT_NAME(ExtractMem)(ArcWindow, const char* commandLine, uint8_t* buffer,
                                           uint32_t bufferSize, int64_t*, uint16_t*,
                                           uint32_t* writtenSize) {
    lastCommand = commandLine;
    const std::vector<std::string> words = quotedWords(lastCommand);
    std::vector<Member> members;
    if (words.size() < 2 || !readArchive(words[words.size() - 2].c_str(), members)) {
        return kErrorNotFound;
    }
    const auto it = std::find_if(members.begin(), members.end(),
                                 [&](const Member& m) { return m.name == words.back(); });
    if (it == members.end()) {
        return kErrorNotFound;
    }
    if (enumProc != nullptr) {
        ArcEnumMemberInfo64 info{};
        info.dwStructSize = sizeof(info);
        info.llOriginalSize = it->bytes.size();
        std::strncpy(info.szFileName, it->name.c_str(), ARC_FNAME_MAX32);
        if (enumProc(&info) == 0) {
            return kErrorCancelled;
        }
    }
    const uint32_t count = std::min<uint32_t>(bufferSize, static_cast<uint32_t>(it->bytes.size()));
    std::copy_n(it->bytes.data(), count, buffer);
    if (writtenSize != nullptr) {
        *writtenSize = count;
    }
    return 0;
}

ARC_EXPORT int32_t EXPORT_NAME(SetEnumMembersProc64)(ArcEnumMembersProc64 proc, uint32_t) {
    enumProc = proc;
    return 1;
}

ARC_EXPORT int32_t EXPORT_NAME(ClearEnumMembersProc64)() {
    enumProc = nullptr;
    return 1;
}

}  // extern "C"
