#include "archive/archiver_dll.h"

#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <iostream>

#include "archive/archiver_error.h"
#include "platform/translatable.h"
#include "platform/trusted_path.h"

namespace ravinel {

namespace {

std::string& folderOverride() {
    static std::string folder;
    return folder;
}

}  // namespace

std::recursive_mutex& archiverLock() {
    static std::recursive_mutex lock;
    return lock;
}

std::string archiverModuleFolder() {
    if (!folderOverride().empty()) {
        return folderOverride();
    }
    // A relative folder would be taken from wherever the program was started.
    const char* env = getenv("RAVINEL_ARCHIVER_DIR");
    if (env != nullptr && env[0] == '/') {
        return env;
    }
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : program.parent_path().string();
}

void setArchiverModuleFolder(const std::string& folder) {
    folderOverride() = folder;
}

std::string archiverModuleFileOf(const std::string& dllName) {
    std::string file = dllName;
    std::transform(file.begin(), file.end(), file.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (file.size() > 4 && file.ends_with(".dll")) {
        file.resize(file.size() - 4);
    }
    return file + ".so";
}

ArchiverDll::ArchiverDll(std::string description, std::string dllName, std::string prefix)
    : description_(std::move(description)),
      dllName_(std::move(dllName)),
      prefix_(std::move(prefix)) {}

ArchiverDll::~ArchiverDll() {
    if (module_ != nullptr) {
        dlclose(module_);
    }
}

void* ArchiverDll::openModule(const std::string& dllName) {
    const std::string path = archiverModuleFolder() + "/" + archiverModuleFileOf(dllName);
    try {
        return loadTrustedModule(path).handle;
    } catch (const ModuleLoadError& e) {
        // A missing module is normal (its format is then not read); any other failure is
        // named, since the user put the file there and will wonder why it is not used.
        if (e.cause() != ModuleLoadError::Cause::missing) {
            std::cerr << program_invocation_short_name << ": " << path << " not loaded ("
                      << e.what() << ")\n";
        }
        return nullptr;
    }
}

void ArchiverDll::load() {
    if (module_ == nullptr) {
        module_ = openModule(dllName_);
        if (module_ == nullptr) {
            throw NoArchiverDllError(description_, dllName_);
        }
    }
}

void* ArchiverDll::findExport(const std::string& name) {
    return module_ == nullptr ? nullptr : dlsym(module_, (prefix_ + name).c_str());
}

void ArchiverDll::throwEntryNotFound(const std::string& name) const {
    throw EntryNotFoundError(archiverModuleFolder() + "/" + archiverModuleFileOf(dllName_),
                             prefix_ + name);
}

template <typename Fn>
Fn ArchiverDll::entry(const char* name, bool required) {
    auto it = resolved_.find(name);
    if (it == resolved_.end()) {
        it = resolved_.emplace(name, findExport(name)).first;
    }
    if (it->second == nullptr && required) {
        throwEntryNotFound(name);
    }
    return reinterpret_cast<Fn>(it->second);
}

template <typename Fn, typename... Args>
auto ArchiverDll::call(const char* name, Args... args) {
    const std::scoped_lock hold(archiverLock());
    return entry<Fn>(name, true)(args...);
}

template <typename Fn, typename... Args>
bool ArchiverDll::callOptional(const char* name, Args... args) {
    const std::scoped_lock hold(archiverLock());
    const Fn fn = entry<Fn>(name, false);
    return fn != nullptr && fn(args...) != 0;
}

int32_t ArchiverDll::command(ArcWindow window, const std::string& commandLine, char* output,
                             uint32_t outputSize) {
    using Fn = int32_t (*)(ArcWindow, const char*, char*, uint32_t);
    return call<Fn>("", window, commandLine.c_str(), output, output == nullptr ? 0 : outputSize);
}

HARC ArchiverDll::openArchive(ArcWindow window, const std::string& path, uint32_t mode) {
    using Fn = HARC (*)(ArcWindow, const char*, uint32_t);
    return call<Fn>("OpenArchive", window, path.c_str(), mode);
}

int32_t ArchiverDll::closeArchive(HARC archive) {
    using Fn = int32_t (*)(HARC);
    return call<Fn>("CloseArchive", archive);
}

int32_t ArchiverDll::findFirst(HARC archive, const std::string& wildName, ArcIndividualInfo& info) {
    using Fn = int32_t (*)(HARC, const char*, ArcIndividualInfo*);
    return call<Fn>("FindFirst", archive, wildName.c_str(), &info);
}

int32_t ArchiverDll::findNext(HARC archive, ArcIndividualInfo& info) {
    using Fn = int32_t (*)(HARC, ArcIndividualInfo*);
    return call<Fn>("FindNext", archive, &info);
}

int32_t ArchiverDll::checkArchive(const std::string& path, int32_t mode) {
    using Fn = int32_t (*)(const char*, int32_t);
    return call<Fn>("CheckArchive", path.c_str(), mode);
}

int32_t ArchiverDll::getArchiveType(const std::string& path) {
    using Fn = int32_t (*)(const char*);
    return call<Fn>("GetArchiveType", path.c_str());
}

int32_t ArchiverDll::extractMem(ArcWindow window, const std::string& commandLine, uint8_t* buffer,
                                uint32_t bufferSize, uint32_t* writtenSize) {
    using Fn =
        int32_t (*)(ArcWindow, const char*, uint8_t*, uint32_t, int64_t*, uint16_t*, uint32_t*);
    return call<Fn>("ExtractMem", window, commandLine.c_str(), buffer, bufferSize,
                    static_cast<int64_t*>(nullptr), static_cast<uint16_t*>(nullptr), writtenSize);
}

bool ArchiverDll::setOwnerWindowEx(ArcWindow window, ArcOwnerWindowProc proc) {
    return callOptional<int32_t (*)(ArcWindow, ArcOwnerWindowProc)>("SetOwnerWindowEx", window,
                                                                    proc);
}

bool ArchiverDll::killOwnerWindowEx(ArcWindow window) {
    return callOptional<int32_t (*)(ArcWindow)>("KillOwnerWindowEx", window);
}

bool ArchiverDll::getWriteTimeEx(HARC archive, ArcFileTime& time) {
    return callOptional<int32_t (*)(HARC, ArcFileTime*)>("GetWriteTimeEx", archive, &time);
}

bool ArchiverDll::getCreateTimeEx(HARC archive, ArcFileTime& time) {
    return callOptional<int32_t (*)(HARC, ArcFileTime*)>("GetCreateTimeEx", archive, &time);
}

bool ArchiverDll::getAccessTimeEx(HARC archive, ArcFileTime& time) {
    return callOptional<int32_t (*)(HARC, ArcFileTime*)>("GetAccessTimeEx", archive, &time);
}

bool ArchiverDll::getOriginalSizeEx(HARC archive, int64_t& size) {
    return callOptional<int32_t (*)(HARC, int64_t*)>("GetOriginalSizeEx", archive, &size);
}

bool ArchiverDll::getCompressedSizeEx(HARC archive, int64_t& size) {
    return callOptional<int32_t (*)(HARC, int64_t*)>("GetCompressedSizeEx", archive, &size);
}

bool ArchiverDll::setEnumMembersProc64(ArcEnumMembersProc64 proc, uint32_t structSize) {
    return callOptional<int32_t (*)(ArcEnumMembersProc64, uint32_t)>("SetEnumMembersProc64", proc,
                                                                     structSize);
}

bool ArchiverDll::clearEnumMembersProc64() {
    return callOptional<int32_t (*)()>("ClearEnumMembersProc64");
}

// --- ZIP ---

namespace {

enum ZipModule { kUnzip, kZip32j, kLmzip };

// The modules asked for an export, in order; exports outside the table are read ones.
std::vector<ZipModule> zipLookupOrder(const std::string& name) {
    static const std::array<const char*, 7> kListing = {
        "OpenArchive",    "CloseArchive",    "FindFirst",      "FindNext",
        "GetWriteTimeEx", "GetCreateTimeEx", "GetAccessTimeEx"};
    if (std::find(kListing.begin(), kListing.end(), name) != kListing.end()) {
        return {kLmzip, kZip32j, kUnzip};
    }
    if (name.empty()) {
        return {kUnzip, kLmzip};
    }
    return {kUnzip, kLmzip, kZip32j};
}

}  // namespace

ZipDll::ZipDll()
    : ArchiverDll(RAVINEL_TRANSLATABLE("ArchiverMessage", "ZIP 形式書庫"), "UNZIP32.DLL", "UnZip") {
}

ZipDll::~ZipDll() {
    for (void* module : {unzip_, zip32j_, lmzip_}) {
        if (module != nullptr) {
            dlclose(module);
        }
    }
}

void ZipDll::load() {
    if (unzip_ == nullptr && lmzip_ == nullptr) {
        unzip_ = openModule("UNZIP32.DLL");
        zip32j_ = openModule("ZIP32J.DLL");
        lmzip_ = openModule("LMZIP32.DLL");
        if (unzip_ == nullptr && lmzip_ == nullptr) {
            throw NoArchiverDllError(ArchiverMessage::zipModuleNeeded);
        }
    }
}

void* ZipDll::findExport(const std::string& name) {
    const std::string full = "UnZip" + name;
    for (const ZipModule which : zipLookupOrder(name)) {
        void* module = which == kUnzip ? unzip_ : which == kZip32j ? zip32j_ : lmzip_;
        if (module == nullptr) {
            continue;
        }
        std::string symbol = full;
        if (which == kLmzip) {
            symbol[2] = 'z';  // LMZIP32 spells its exports "Unzip..."
        }
        if (void* address = dlsym(module, symbol.c_str())) {
            return address;
        }
    }
    return nullptr;
}

void ZipDll::throwEntryNotFound(const std::string& name) const {
    throw EntryNotFoundError(ArchiverMessage::zipEntryNotFound, {name});
}

// --- YZ1 ---

Yz1Dll::Yz1Dll()
    : ArchiverDll(RAVINEL_TRANSLATABLE("ArchiverMessage", "YZ1 形式書庫"), "YZ1.DLL", "Yz1") {}

void Yz1Dll::load() {
    if (module_ == nullptr) {
        module_ = openModule("YZ1.DLL");
    }
    if (module_ == nullptr) {
        module_ = openModule("YYZ32.DLL");
    }
    if (module_ == nullptr) {
        throw NoArchiverDllError(description_, dllName_);
    }
}

}  // namespace ravinel
