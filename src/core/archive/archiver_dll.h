#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "archiver_api.h"

namespace ravinel {

// The folder the archiver modules are loaded from: the one set last, else
// $RAVINEL_ARCHIVER_DIR when absolute, else the folder of the program. Ends without "/".
// Only trusted modules load from it (see loadTrustedModule).
std::string archiverModuleFolder();
// Overrides the folder (tests, tools); an empty folder restores the default.
void setArchiverModuleFolder(const std::string& folder);
// The module file standing for a DLL name: "UNLHA32.DLL" -> "unlha32.so".
std::string archiverModuleFileOf(const std::string& dllName);

// Held by every call into a module, by the loading and freeing of modules and by an
// extraction together with its member callback, so that threads take turns: modules keep
// process-wide state (the member callback) and are not written for threads. Recursive
// because an extraction calls the module while holding it.
std::recursive_mutex& archiverLock();

// One loaded archiver module. Exports are looked up on first use as prefix + name;
// required ones throw EntryNotFoundError when missing, optional ones make their call
// report failure (false).
class ArchiverDll {
  public:
    ArchiverDll(std::string description, std::string dllName, std::string prefix);
    virtual ~ArchiverDll();
    ArchiverDll(const ArchiverDll&) = delete;
    ArchiverDll& operator=(const ArchiverDll&) = delete;

    // Opens the module; NoArchiverDllError when it is not there.
    virtual void load();

    int32_t command(ArcWindow window, const std::string& commandLine, char* output,
                    uint32_t outputSize);
    HARC openArchive(ArcWindow window, const std::string& path, uint32_t mode);
    int32_t closeArchive(HARC archive);
    int32_t findFirst(HARC archive, const std::string& wildName, ArcIndividualInfo& info);
    int32_t findNext(HARC archive, ArcIndividualInfo& info);
    int32_t checkArchive(const std::string& path, int32_t mode);
    int32_t getArchiveType(const std::string& path);
    int32_t extractMem(ArcWindow window, const std::string& commandLine, uint8_t* buffer,
                       uint32_t bufferSize, uint32_t* writtenSize);
    bool setOwnerWindowEx(ArcWindow window, ArcOwnerWindowProc proc);
    bool killOwnerWindowEx(ArcWindow window);
    bool getWriteTimeEx(HARC archive, ArcFileTime& time);
    bool getCreateTimeEx(HARC archive, ArcFileTime& time);
    bool getAccessTimeEx(HARC archive, ArcFileTime& time);
    bool getOriginalSizeEx(HARC archive, int64_t& size);
    bool getCompressedSizeEx(HARC archive, int64_t& size);
    bool setEnumMembersProc64(ArcEnumMembersProc64 proc, uint32_t structSize);
    bool clearEnumMembersProc64();

    const std::string& description() const { return description_; }
    const std::string& dllName() const { return dllName_; }

  protected:
    // Opens one module file of the folder; null when it is missing or cannot be loaded,
    // the latter told on stderr.
    static void* openModule(const std::string& dllName);
    // The export name after the prefix, null when no module has it.
    virtual void* findExport(const std::string& name);
    // The failure for a missing required export.
    virtual void throwEntryNotFound(const std::string& name) const;

    std::string description_;
    std::string dllName_;
    std::string prefix_;
    void* module_ = nullptr;

  private:
    template <typename Fn>
    Fn entry(const char* name, bool required);
    // Calls a required export under the lock.
    template <typename Fn, typename... Args>
    auto call(const char* name, Args... args);
    // Calls an optional export under the lock: false when it is missing or reports failure.
    template <typename Fn, typename... Args>
    bool callOptional(const char* name, Args... args);

    std::map<std::string, void*> resolved_;
};

// ZIP reads through UNZIP32, LMZIP32 and ZIP32J, any of which may be missing; each
// export is taken from the first of them, in a fixed order, that has it.
class ZipDll : public ArchiverDll {
  public:
    ZipDll();
    ~ZipDll() override;

    // NoArchiverDllError unless UNZIP32 or LMZIP32 is there.
    void load() override;

  protected:
    void* findExport(const std::string& name) override;
    void throwEntryNotFound(const std::string& name) const override;

  private:
    void* unzip_ = nullptr;
    void* zip32j_ = nullptr;
    void* lmzip_ = nullptr;
};

// YZ1 is served by YZ1.DLL or else YYZ32.DLL.
class Yz1Dll : public ArchiverDll {
  public:
    Yz1Dll();
    void load() override;
};

}  // namespace ravinel
