#include "dialogs/folder_dialog.h"

#include <QFileDialog>

namespace ravinel {

bool FolderDialog::execute(QWidget* owner) {
    const QString chosen =
        QFileDialog::getExistingDirectory(owner, title, QString::fromStdString(folderPath));
    if (chosen.isEmpty()) {
        return false;
    }
    folderPath = chosen.toStdString();
    return true;
}

}  // namespace ravinel
