#include "archive/archive_type_detection.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <utility>

#include "archive/archiver.h"

namespace ravinel {

namespace {

constexpr uint32_t kOpenProbeMode = 0x800002;
constexpr int32_t kLhaCheckMode = 16;
constexpr int32_t kZipCheckMode = 24;

bool opens(const Archiver& archiver, const std::string& path) {
    HARC handle = archiver.openArchive(nullptr, path, kOpenProbeMode);
    if (handle == nullptr) {
        return false;
    }
    archiver.closeArchive(handle);
    return true;
}

ArchiverType tarTypeOf(const std::string& path) {
    const int32_t kind = createArchiver(ArchiverType::atTar)->loadDll().getArchiveType(path);
    if (kind == 1) {
        return ArchiverType::atTar;
    }
    if (kind >= 2 && kind <= 5) {
        return ArchiverType::atTgz;
    }
    if (kind == 6 || kind == 7) {
        return ArchiverType::atBZ2;
    }
    return ArchiverType::atNone;
}

bool accepts(ArchiverType type, const std::string& path) {
    const std::unique_ptr<Archiver> archiver = createArchiver(type);
    if (type == ArchiverType::atLha) {
        return archiver->checkArchive(path, kLhaCheckMode) != 0 && opens(*archiver, path);
    }
    if (type == ArchiverType::atZip) {
        return archiver->checkArchive(path, kZipCheckMode) != 0 && std::filesystem::exists(path) &&
               opens(*archiver, path);
    }
    return opens(*archiver, path);
}

}  // namespace

ArchiverType archiverTypeOfName(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    using enum ArchiverType;
    static const std::array<std::pair<const char*, ArchiverType>, 25> kExtensions = {{
        {".lzh", atLha}, {".zip", atZip}, {".jar", atZip},  {".ear", atZip}, {".war", atZip},
        {".cab", atCab}, {".arj", atArj}, {".tar", atTar},  {".a", atTar},   {".lib", atTar},
        {".deb", atTar}, {".rpm", atTar}, {".cpio", atTar}, {".gz", atTgz},  {".tgz", atTgz},
        {".taz", atTgz}, {".z", atTgz},   {".bz2", atBZ2},  {".rar", atRar}, {".gza", atBga},
        {".bza", atBga}, {".yz1", atYz1}, {".gca", atGCA},  {".7z", at7z},   {".exe", atAutoDetect},
    }};
    for (const auto& [extension, type] : kExtensions) {
        if (ext == extension) {
            return type == atAutoDetect ? archiverTypeOfContent(path) : type;
        }
    }
    return atNone;
}

ArchiverType archiverTypeOfContent(const std::string& path) {
    std::error_code error;
    const std::string full = std::filesystem::absolute(path, error).string();
    ArchiverType found = ArchiverType::atNone;
    try {
        found = tarTypeOf(full);
    } catch (const std::exception&) {
        // No TAR module or it failed: not a TAR archive.
    }
    using enum ArchiverType;
    for (const ArchiverType type : {atRar, atArj, atZip, atBga, atYz1, atCab, atLha}) {
        try {
            if (accepts(type, full)) {
                found = type;
            }
        } catch (const std::exception&) {
            // A missing module or a failing probe is a refusal.
        }
    }
    return found;
}

}  // namespace ravinel
