#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/translatable.h"

namespace ravinel {

// The messages of the archive layer: the windows show them in their own language, the
// tool and the logs print archiverMessagePattern filled in.
enum class ArchiverMessage {
    formatUnknown,
    formatUnidentified,
    moduleNeeded,  // %1 the format's description, %2 the module
    zipModuleNeeded,
    entryNotFound,     // %1 the module's path, %2 the export
    zipEntryNotFound,  // %1 the export's name after "UnZip"
    sfxFileNeeded,     // %1 the format's description, %2 the kind, %3 the stub file
    packNotSupported,
    deleteNotSupported,
    updateNotSupported,
    sfxNotSupported,
    jsoOptionMissing,
    memoryExtractNotSupported,
};

// The message's text with %1, %2 ... for its arguments.
const char* archiverMessagePattern(ArchiverMessage message);

// Failures of the archive layer: an unknown format, a format without a command, a
// missing archiver module or export. what() is the filled-in pattern.
class ArchiverError : public std::runtime_error {
  public:
    explicit ArchiverError(ArchiverMessage message, std::vector<std::string> arguments = {})
        : std::runtime_error(filledText(archiverMessagePattern(message), arguments)),
          message_(message),
          arguments_(std::move(arguments)) {}
    ArchiverMessage message() const { return message_; }
    const std::vector<std::string>& arguments() const { return arguments_; }

  private:
    ArchiverMessage message_;
    std::vector<std::string> arguments_;
};

// The module of a format could not be loaded.
class NoArchiverDllError : public ArchiverError {
  public:
    using ArchiverError::ArchiverError;
    NoArchiverDllError(const std::string& description, const std::string& dllName)
        : ArchiverError(ArchiverMessage::moduleNeeded, {description, dllName}) {}
};

// A module lacks an export the layer needs.
class EntryNotFoundError : public ArchiverError {
  public:
    using ArchiverError::ArchiverError;
    EntryNotFoundError(const std::string& modulePath, const std::string& exportName)
        : ArchiverError(ArchiverMessage::entryNotFound, {modulePath, exportName}) {}
};

// A self-extracting archive needs a stub file that is not there.
class SfxNoRequiredFileError : public ArchiverError {
  public:
    SfxNoRequiredFileError(const std::string& formatDescription, const std::string& kind,
                           const std::string& fileName)
        : ArchiverError(ArchiverMessage::sfxFileNeeded, {formatDescription, kind, fileName}),
          description(formatDescription),
          stubKind(kind),
          stubFile(fileName) {}

    std::string description;
    std::string stubKind;
    std::string stubFile;
};

}  // namespace ravinel
