#include "browser/open_in_explorer.h"

#include <QDesktopServices>
#include <QUrl>

namespace ravinel {

bool openInExplorer(const std::string& folder) {
    if (folder.empty()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder)));
}

}  // namespace ravinel
