#pragma once

#include <QTreeWidget>

#include "browse/files_info.h"
#include "common/file_icon_cache.h"

namespace ravinel {

// The report list the browser window shows instead of the thumbnails: one row per item
// of a file list with the columns "ファイル名" (name, with the item's small icon),
// "サイズ(Byte)" (size in bytes, right-aligned) and "更新日時" (last modified).
class FileListView : public QTreeWidget {
    Q_OBJECT

  public:
    enum Column { colName = 0, colSize = 1, colTime = 2 };

    // icons draws the items' small icon numbers; it may be null (no images). Not owned:
    // it must outlive the view.
    explicit FileListView(QWidget* parent = nullptr, const FileIconCache* icons = nullptr);

    // Shows list (not owned: it must live until the next setFiles or the view's end):
    // one row per item in list order, then fits the column widths. Null is ignored.
    void setFiles(FilesInfo* list);
    FilesInfo* files() const { return files_; }
    // The number of rows.
    int count() const { return topLevelItemCount(); }

    // The list position of the selected row; -1 when none is selected.
    int selectedIndex() const;
    // The item of the selected row, or null.
    FileInfoItem* selectedItem() const;
    // Selects the row of list position i and makes it current; -1 clears the selection.
    void select(int i);

    // Sizes the columns to their widest text, header included, plus room for the icon in
    // the name column.
    void fitColumns();

  signals:
    // A double-click, or Enter (which is swallowed): the browser opens the selection.
    void openRequested();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const FileIconCache* icons_;
    FilesInfo* files_ = nullptr;
};

}  // namespace ravinel
