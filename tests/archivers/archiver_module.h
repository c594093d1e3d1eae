// Loads a built archiver module and resolves its exports under the module's prefix.
#pragma once

#include <sdk/archiver_api.h>

#include <string>

// Declarations only, to name the export types.
extern "C" {
ARC_DECLARE_EXPORTS(Any)
}

namespace ravinel::test {

class ArchiverModule {
  public:
    ArchiverModule(const char* path, const std::string& prefix);
    ArchiverModule(const ArchiverModule&) = delete;
    ArchiverModule& operator=(const ArchiverModule&) = delete;
    ~ArchiverModule();

    bool complete() const { return complete_; }

    decltype(&::Any) command = nullptr;
    decltype(&::AnyOpenArchive) openArchive = nullptr;
    decltype(&::AnyCloseArchive) closeArchive = nullptr;
    decltype(&::AnyFindFirst) findFirst = nullptr;
    decltype(&::AnyFindNext) findNext = nullptr;
    decltype(&::AnyCheckArchive) checkArchive = nullptr;
    decltype(&::AnyGetArchiveType) getArchiveType = nullptr;
    decltype(&::AnyExtractMem) extractMem = nullptr;
    decltype(&::AnySetOwnerWindowEx) setOwnerWindowEx = nullptr;
    decltype(&::AnyKillOwnerWindowEx) killOwnerWindowEx = nullptr;
    decltype(&::AnyGetWriteTimeEx) getWriteTimeEx = nullptr;
    decltype(&::AnyGetCreateTimeEx) getCreateTimeEx = nullptr;
    decltype(&::AnyGetAccessTimeEx) getAccessTimeEx = nullptr;
    decltype(&::AnyGetOriginalSizeEx) getOriginalSizeEx = nullptr;
    decltype(&::AnyGetCompressedSizeEx) getCompressedSizeEx = nullptr;
    decltype(&::AnySetEnumMembersProc64) setEnumMembersProc64 = nullptr;
    decltype(&::AnyClearEnumMembersProc64) clearEnumMembersProc64 = nullptr;

  private:
    void* handle_ = nullptr;
    bool complete_ = false;
};

}  // namespace ravinel::test
