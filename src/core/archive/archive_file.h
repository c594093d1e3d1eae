#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "archive/archiver.h"
#include "archive/archiver_options.h"
#include "archive/archiver_type.h"
#include "archive/individual_info64.h"
#include "archiver_api.h"

namespace ravinel {

// An archive as callers use it: names the archive, picks the archiver of its format,
// lists the members and extracts one member into memory. Progress windows are not
// offered: the viewer sets no progress handler.
class ArchiveFile {
  public:
    ArchiveFile();
    ~ArchiveFile();
    ArchiveFile(const ArchiveFile&) = delete;
    ArchiveFile& operator=(const ArchiveFile&) = delete;

    // Sets the type the name stands for (see archiverTypeOfName), then the name.
    void setFileName(const std::string& fileName);
    const std::string& fileName() const { return fileName_; }

    // atNone changes nothing; atAutoDetect only records the type; atGCA, atBel and
    // values outside the table throw ArchiverError.
    void setArchiverType(ArchiverType type);
    ArchiverType archiverType() const { return type_; }

    // Detects the type from the content while it is atAutoDetect; ArchiverError when no
    // archiver handles the archive. 0 when the module gave a handle, else 1.
    int32_t openArchive(ArcWindow window, uint32_t mode);
    // The module's results: 0 when a member was stored in info.
    int32_t findFirst(const std::string& wildName, IndividualInfo64& info);
    int32_t findNext(IndividualInfo64& info);
    void closeArchive();

    // Extracts member into buffer; null options means this component's options. The
    // module's result (0 success); writtenSize, when given, receives the bytes written.
    int32_t extractMem(ArcWindow window, const ArchiverOptions* options, const std::string& member,
                       uint8_t* buffer, uint32_t bufferSize, uint32_t* writtenSize);
    // The command line sent last.
    const std::string& commandLine() const { return commandLine_; }

    ArchiverOptions options;
    // Called for each member the module enumerates during extraction; setting abort
    // stops the extraction.
    std::function<void(const ArcEnumMemberInfo64& member, bool& abort)> onEnumMember;

  private:
    static int32_t enumMember(const ArcEnumMemberInfo64* member);
    const Archiver& requireArchiver() const;

    ArchiverType type_ = ArchiverType::atAutoDetect;
    std::unique_ptr<Archiver> archiver_;
    std::string fileName_;
    std::string commandLine_;
    HARC handle_ = nullptr;
};

}  // namespace ravinel
