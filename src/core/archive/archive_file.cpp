#include "archive/archive_file.h"

#include "archive/archive_type_detection.h"
#include "archive/archiver_error.h"

namespace ravinel {

namespace {

// The size of the enumeration record the callback expects.
constexpr uint32_t kEnumMemberInfoSize = 1094;

// The component whose extraction runs; the module's callback has no context argument.
// Guarded by archiverLock().
ArchiveFile* currentExtraction = nullptr;

// Installs the member callback for one extraction and removes it again, also when the
// extraction throws.
class EnumHook {
  public:
    EnumHook(ArchiverDll& dll, ArchiveFile* owner, ArcEnumMembersProc64 callback, bool on)
        : dll_(dll), on_(on) {
        if (on_) {
            currentExtraction = owner;
            dll_.setEnumMembersProc64(callback, kEnumMemberInfoSize);
        }
    }
    ~EnumHook() {
        if (on_) {
            dll_.clearEnumMembersProc64();
            currentExtraction = nullptr;
        }
    }
    EnumHook(const EnumHook&) = delete;
    EnumHook& operator=(const EnumHook&) = delete;

  private:
    ArchiverDll& dll_;
    bool on_;
};

}  // namespace

ArchiveFile::ArchiveFile() = default;

ArchiveFile::~ArchiveFile() {
    closeArchive();
}

void ArchiveFile::setFileName(const std::string& fileName) {
    setArchiverType(archiverTypeOfName(fileName));
    fileName_ = fileName;
}

void ArchiveFile::setArchiverType(ArchiverType type) {
    if (type == ArchiverType::atNone) {
        return;
    }
    if (type == ArchiverType::atAutoDetect) {
        type_ = type;
        return;
    }
    std::unique_ptr<Archiver> archiver = createArchiver(type);
    if (!archiver) {
        throw ArchiverError(ArchiverMessage::formatUnidentified);
    }
    closeArchive();
    archiver_ = std::move(archiver);
    type_ = type;
}

const Archiver& ArchiveFile::requireArchiver() const {
    if (!archiver_) {
        throw ArchiverError(ArchiverMessage::formatUnknown);
    }
    return *archiver_;
}

int32_t ArchiveFile::openArchive(ArcWindow window, uint32_t mode) {
    if (type_ == ArchiverType::atAutoDetect) {
        setArchiverType(archiverTypeOfContent(fileName_));
    }
    const Archiver& archiver = requireArchiver();
    closeArchive();
    handle_ = archiver.openArchive(window, fileName_, mode);
    return handle_ != nullptr ? 0 : 1;
}

int32_t ArchiveFile::findFirst(const std::string& wildName, IndividualInfo64& info) {
    return requireArchiver().findFirst(handle_, info, wildName);
}

int32_t ArchiveFile::findNext(IndividualInfo64& info) {
    return requireArchiver().findNext(handle_, info);
}

void ArchiveFile::closeArchive() {
    if (handle_ != nullptr && archiver_) {
        HARC handle = handle_;
        handle_ = nullptr;
        archiver_->closeArchive(handle);
    }
}

int32_t ArchiveFile::enumMember(const ArcEnumMemberInfo64* member) {
    ArchiveFile* self = currentExtraction;
    if (self == nullptr || member == nullptr || !self->archiver_) {
        return -1;
    }
    // Nothing may unwind through the module: a failing handler stops the extraction.
    try {
        ArcEnumMemberInfo64 copy = *member;
        copy.szFileName[ARC_FNAME_MAX32] = '\0';
        bool abort = !self->archiver_->inspectMember(copy);
        if (!abort && self->onEnumMember) {
            self->onEnumMember(copy, abort);
        }
        return abort ? 0 : -1;
    } catch (...) {
        return 0;
    }
}

int32_t ArchiveFile::extractMem(ArcWindow window, const ArchiverOptions* given,
                                const std::string& member, uint8_t* buffer, uint32_t bufferSize,
                                uint32_t* writtenSize) {
    commandLine_.clear();
    const Archiver& archiver = requireArchiver();
    const ArchiverOptions& used = given != nullptr ? *given : options;
    // The member callback is the module's for the whole process: one extraction at a time.
    const std::scoped_lock hold(archiverLock());
    ArchiverDll& dll = archiver.loadDll();
    const EnumHook hook(dll, this, &ArchiveFile::enumMember,
                        onEnumMember || used.includeExtraStreams);
    commandLine_ = archiver.extractMemCommandLine(fileName_, {member}, used, false);
    return dll.extractMem(window, commandLine_, buffer, bufferSize, writtenSize);
}

}  // namespace ravinel
