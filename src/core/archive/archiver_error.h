#pragma once

#include <stdexcept>
#include <string>

namespace ravinel {

// Failures of the archive layer: an unknown format, a format without a command, a
// missing archiver module or export.
class ArchiverError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kArchiveFormatUnknown = "書庫の形式を判別できません。";
inline constexpr const char* kArchiveFormatUnidentified = "書庫の形式を特定できませんでした。";

// The module of a format could not be loaded.
class NoArchiverDllError : public ArchiverError {
  public:
    using ArchiverError::ArchiverError;
    NoArchiverDllError(const std::string& description, const std::string& dllName)
        : ArchiverError(description + " を扱うには " + dllName + " が 必要です。") {}
};

// A module lacks an export the layer needs.
class EntryNotFoundError : public ArchiverError {
  public:
    using ArchiverError::ArchiverError;
    EntryNotFoundError(const std::string& modulePath, const std::string& exportName)
        : ArchiverError(modulePath + " に " + exportName + " のエントリが見つかりません。") {}
};

// A self-extracting archive needs a stub file that is not there.
class SfxNoRequiredFileError : public ArchiverError {
  public:
    SfxNoRequiredFileError(const std::string& formatDescription, const std::string& kind,
                           const std::string& fileName)
        : ArchiverError(formatDescription + " 書庫からの" + kind + "自己解凍書庫の作成には '" +
                        fileName + "' ファイルが必要です。"),
          description(formatDescription),
          stubKind(kind),
          stubFile(fileName) {}

    std::string description;
    std::string stubKind;
    std::string stubFile;
};

}  // namespace ravinel
