#pragma once

#include <QString>
#include <string>

class QWidget;

namespace ravinel {

// Asks the user for a folder of the file system.
class FolderDialog {
  public:
    // On a choice stores it in folderPath and returns true; a cancel changes nothing.
    bool execute(QWidget* owner);

    QString title;
    std::string folderPath;
};

}  // namespace ravinel
