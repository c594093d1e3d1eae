#include "browser/system_places.h"

#include <QFile>
#include <QStandardPaths>
#include <QStorageInfo>

namespace ravinel {

namespace {

std::string folderPathOf(QStandardPaths::StandardLocation location) {
    return asFolderPath(
        QFile::encodeName(QStandardPaths::writableLocation(location)).toStdString());
}

}  // namespace

ShellPlaces systemPlaces() {
    ShellPlaces places;
    places.desktopPath = folderPathOf(QStandardPaths::DesktopLocation);
    places.personalPath = folderPathOf(QStandardPaths::DocumentsLocation);
    std::vector<DriveEntry> drives;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        std::string mountPath = QFile::encodeName(volume.rootPath()).toStdString();
        if (volume.isValid() &&
            isBrowsableMount(mountPath, volume.fileSystemType().toStdString())) {
            drives.push_back({volume.name().toStdString(), std::move(mountPath)});
        }
    }
    places.drives = orderedDrives(std::move(drives));
    return places;
}

}  // namespace ravinel
