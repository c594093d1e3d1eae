#pragma once

#include <string>

#include "browse/files_info.h"
#include "browse/icon_cache.h"

namespace ravinel {

// The file list of one folder. Every directory entry that is no folder after following
// symbolic links and no socket, device or FIFO is an item, hidden files included; a
// symbolic link whose target is missing is an item too (it is still a file the user may
// delete or repair).
class DirFilesInfo : public FilesInfo {
  public:
    // icons may be null: the items then keep the icon numbers -1. The cache must outlive
    // the list.
    explicit DirFilesInfo(IconCache* icons = nullptr) : icons_(icons) {}

    // The listed folder, ending with "/", or empty.
    const std::string& dir() const { return dir_; }
    // Empty: clears the folder and the list. A different folder: stored and read at once.
    // The same folder again does nothing; to read it afresh write "" first.
    void setDir(const std::string& dir);

    // Lists dir anew in the order the file system gives. A folder that cannot be listed
    // gives an empty list.
    void readDir();

    // Copies the folder and appends copies of the items of source.
    void assign(const DirFilesInfo& source);
    using FilesInfo::assign;

  private:
    IconCache* icons_;
    std::string dir_;
};

}  // namespace ravinel
