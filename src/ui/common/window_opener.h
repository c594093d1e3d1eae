#pragma once

#include <string>

class QWidget;

namespace ravinel {

class DirFilesInfo;
class FilesInfo;

// Opens and ends the program's windows for the windows themselves: they say what to
// show, the hub decides which window shows it.
class WindowOpener {
  public:
    virtual ~WindowOpener() = default;

    // Each returns whether a window was opened; a picture that does not load opens none.
    virtual bool openImageFile(const std::string& fileName, const DirFilesInfo& filesInfo,
                               bool fromMenu) = 0;
    virtual bool openArchiveMember(const std::string& archiveName, const std::string& memberName,
                                   const FilesInfo& filesInfo) = 0;
    // A picture in an image window (with the shared folder list), else, with the OpenArc
    // setting on, the member list of the archive it may be.
    virtual bool openFileOrArchive(const std::string& path, bool fromMenu) = 0;
    // Opens the browser window on the folder the LastDir setting names.
    virtual void openBrowser() = 0;
    // Runs the options window modally.
    virtual void showOptions() = 0;

    // Whether the browser window is open; it is the only one of its kind.
    virtual bool browserShowing() const = 0;
    virtual void setBrowserShowing(bool showing) = 0;
    // A window is closing: when no other window is shown, the run ends once the last one
    // has gone.
    virtual void windowClosing(const QWidget* window) = 0;
};

}  // namespace ravinel
