#include "dialogs/archive_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>
#include <exception>
#include <iostream>

#include "archive/archiver_options.h"
#include "common/browser_status_texts.h"
#include "common/caption_scope.h"
#include "common/file_list_view.h"
#include "common/launch_target.h"
#include "common/wait_cursor_scope.h"
#include "common/window_opener.h"
#include "dialogs/archive_member_list.h"
#include "process/pipeline/g_process_settings.h"
#include "settings/settings.h"

namespace ravinel {

namespace {

constexpr int kFormWidth = 600;
constexpr int kFormHeight = 400;

}  // namespace

ArchiveWindow::ArchiveWindow(AppContext& context) : context_(context) {
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kFormWidth, kFormHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    listView_ = new FileListView(this);
    listView_->setFrameShape(QFrame::NoFrame);
    connect(listView_, &FileListView::openRequested, this, &ArchiveWindow::openSelectedMember);
    layout->addWidget(listView_, 1);

    auto* statusBar = new QStatusBar(this);
    statusBar->setSizeGripEnabled(true);
    // One panel over the whole bar (the window's default width), so the note fits.
    statusPanel_ = new QLabel(statusBar);
    statusBar->addWidget(statusPanel_, 1);
    layout->addWidget(statusBar);
    // The list takes the status bar's font, as the system gives it to status lines.
    listView_->setFont(statusBar->font());
}

ArchiveWindow::~ArchiveWindow() = default;

bool ArchiveWindow::loadArchive() {
    if (archiveName.empty()) {
        return false;
    }
    setWindowTitle(QString::fromStdString(namePart(archiveName)));
    archive_.setFileName(archiveName);
    setViewingSwitches(archive_.options);
    filesInfo_.clear();
    listArchiveMembers(archive_, filesInfo_);
    if (filesInfo_.count() == 0) {
        return false;
    }
    if (!showsArchivePictures(archive_.archiverType())) {
        statusPanel_->setText(tr("この圧縮形式での画像表示には非対応"));
    }
    return true;
}

void ArchiveWindow::sortFiles(SortMode mode) {
    filesInfo_.sort(modeIndex(mode));
}

QString ArchiveWindow::statusText() const {
    return statusPanel_->text();
}

void ArchiveWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        listView_->setFiles(&filesInfo_);
    }
}

void ArchiveWindow::openSelectedMember() {
    const FileInfoItem* member = listView_->selectedItem();
    if (member == nullptr) {
        return;
    }
    const std::string memberName = member->name;
    CaptionScope caption(this, browser_texts::loading());
    WaitCursorScope waitCursor;
    if (!showsArchivePictures(archive_.archiverType())) {
        return;
    }
    try {
        if (context_.windows().openArchiveMember(archiveName, memberName, filesInfo_) &&
            context_.settings().thumbConf.closeArcList) {
            close();
        }
    } catch (const std::exception& e) {
        // Nothing may unwind into the event loop; the window stays as it was.
        std::cerr << "ravinel: " << archiveName << ": " << memberName << ": " << e.what() << "\n";
    }
}

void ArchiveWindow::closeEvent(QCloseEvent* event) {
    filesInfo_.clear();
    context_.windows().windowClosing(this);
    event->accept();
}

}  // namespace ravinel
