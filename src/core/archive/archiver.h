#pragma once

#include <memory>
#include <string>
#include <vector>

#include "archive/archiver_dll.h"
#include "archive/archiver_options.h"
#include "archive/archiver_type.h"
#include "archive/individual_info64.h"
#include "archiver_api.h"

namespace ravinel {

// The archiver of one format: builds the command lines of its module and forwards the
// archive calls to the module, which is shared by the whole process.
class Archiver {
  public:
    virtual ~Archiver() = default;

    // The format's module, loaded on first use (NoArchiverDllError when missing).
    virtual ArchiverDll& loadDll() const = 0;
    // Frees the format's module; the next use loads it again.
    virtual void freeDll() const = 0;

    HARC openArchive(ArcWindow window, const std::string& archivePath, uint32_t mode) const;
    // 0 when a member was stored in info; the record is completed with times and sizes.
    int32_t findFirst(HARC archive, IndividualInfo64& info, const std::string& wildName) const;
    int32_t findNext(HARC archive, IndividualInfo64& info) const;
    int32_t closeArchive(HARC archive) const;
    int32_t checkArchive(const std::string& archivePath, int32_t mode) const;

    // The command line that extracts the members into memory. ownerWindow tells whether
    // progress goes to a window. ArchiverError for formats that cannot.
    virtual std::string extractMemCommandLine(const std::string& archivePath,
                                              const std::vector<std::string>& members,
                                              const ArchiverOptions& options,
                                              bool ownerWindow) const = 0;
    // Writing commands: the viewer never writes archives, so every format refuses.
    void packCommandLine() const;
    void deleteCommandLine() const;
    void updateCommandLine() const;
    void sfxCommandLine() const;

    // Looks at a member before extraction; false stops the extraction.
    virtual bool inspectMember(const ArcEnumMemberInfo64& member) const;

  private:
    void complete(HARC archive, IndividualInfo64& info) const;
};

// The archiver of a type; null for atNone, atAutoDetect, atGCA and atBel.
std::unique_ptr<Archiver> createArchiver(ArchiverType type);

// Frees the module of every format (at the end of the program).
void freeAllArchiverDlls();

// A DOS date and time read as local time, as a FILETIME in UTC; 0 for 0 and 0.
ArcFileTime fileTimeOfDosDateTime(uint16_t date, uint16_t time);
// A FILETIME in UTC as a packed DOS date and time of local time; 0 when it has none.
int32_t dosDateTimeOfFileTime(ArcFileTime time);

}  // namespace ravinel
