#pragma once

#include <QWidget>
#include <string>

#include "archive/archive_file.h"
#include "browse/files_info.h"
#include "common/app_context.h"

class QLabel;

namespace ravinel {

class FileListView;

// The archive member window: a report list of an archive's members with their sizes
// and dates. Opening a member shows it in a new image window through the opener. Each
// window is a top-level window of its own and frees itself when closed.
class ArchiveWindow : public QWidget {
    Q_OBJECT

  public:
    // The context outlives the window.
    explicit ArchiveWindow(AppContext& context);
    ~ArchiveWindow() override;

    // Lists archiveName into the member list; true when at least one member was listed.
    // Called once, before the window is shown.
    bool loadArchive();
    // Sorts the member list as the browser sorts a folder.
    void sortFiles(SortMode mode);

    // The member under the selection opens in an image window; with the CloseArcList
    // setting on, this window closes once the picture is shown.
    void openSelectedMember();

    // Path of the archive, set by its opener before loadArchive.
    std::string archiveName;

    const FilesInfo& files() const { return filesInfo_; }
    FileListView* memberList() const { return listView_; }
    QString statusText() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    AppContext& context_;
    ArchiveFile archive_;
    FilesInfo filesInfo_;
    FileListView* listView_ = nullptr;
    QLabel* statusPanel_ = nullptr;
};

}  // namespace ravinel
