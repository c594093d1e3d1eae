#include "tests/archivers/archiver_module.h"

#include <dlfcn.h>

namespace ravinel::test {

namespace {

template <typename Function>
bool resolve(void* handle, const std::string& name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name.c_str()));
    return function != nullptr;
}

}  // namespace

ArchiverModule::ArchiverModule(const char* path, const std::string& prefix)
    : handle_(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (handle_ == nullptr) {
        return;
    }
    complete_ = resolve(handle_, prefix, command) &
                resolve(handle_, prefix + "OpenArchive", openArchive) &
                resolve(handle_, prefix + "CloseArchive", closeArchive) &
                resolve(handle_, prefix + "FindFirst", findFirst) &
                resolve(handle_, prefix + "FindNext", findNext) &
                resolve(handle_, prefix + "CheckArchive", checkArchive) &
                resolve(handle_, prefix + "GetArchiveType", getArchiveType) &
                resolve(handle_, prefix + "ExtractMem", extractMem) &
                resolve(handle_, prefix + "SetOwnerWindowEx", setOwnerWindowEx) &
                resolve(handle_, prefix + "KillOwnerWindowEx", killOwnerWindowEx) &
                resolve(handle_, prefix + "GetWriteTimeEx", getWriteTimeEx) &
                resolve(handle_, prefix + "GetCreateTimeEx", getCreateTimeEx) &
                resolve(handle_, prefix + "GetAccessTimeEx", getAccessTimeEx) &
                resolve(handle_, prefix + "GetOriginalSizeEx", getOriginalSizeEx) &
                resolve(handle_, prefix + "GetCompressedSizeEx", getCompressedSizeEx) &
                resolve(handle_, prefix + "SetEnumMembersProc64", setEnumMembersProc64) &
                resolve(handle_, prefix + "ClearEnumMembersProc64", clearEnumMembersProc64);
}

ArchiverModule::~ArchiverModule() {
    if (handle_ != nullptr) {
        dlclose(handle_);
    }
}

}  // namespace ravinel::test
