#include "common/file_list_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

namespace ravinel {

namespace {

constexpr int kPositionRole = Qt::UserRole;
constexpr Qt::Alignment kSizeAlignment = Qt::AlignRight | Qt::AlignVCenter;

}  // namespace

FileListView::FileListView(QWidget* parent, const FileIconCache* icons)
    : QTreeWidget(parent), icons_(icons) {
    setColumnCount(3);
    setHeaderLabels({tr("ファイル名"), tr("サイズ(Byte)"), tr("更新日時")});
    headerItem()->setTextAlignment(colSize, kSizeAlignment);
    header()->setStretchLastSection(false);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(FileIconCache::kSmallIconSize, FileIconCache::kSmallIconSize));
    connect(this, &QTreeWidget::itemDoubleClicked, this, &FileListView::openRequested);
}

void FileListView::setFiles(FilesInfo* list) {
    if (list == nullptr) {
        return;
    }
    files_ = list;
    const bool wasEnabled = updatesEnabled();
    setUpdatesEnabled(false);
    clear();
    QList<QTreeWidgetItem*> rows;
    rows.reserve(list->count());
    for (int i = 0; i < list->count(); ++i) {
        const FileInfoItem& item = list->item(i);
        auto* row = new QTreeWidgetItem(QStringList{QString::fromStdString(item.name),
                                                    QString::fromStdString(item.sizeText()),
                                                    QString::fromStdString(item.timeText())});
        row->setTextAlignment(colSize, kSizeAlignment);
        row->setData(colName, kPositionRole, i);
        if (icons_ != nullptr) {
            row->setIcon(colName, icons_->icon(item.smallIcon));
        }
        rows.append(row);
    }
    addTopLevelItems(rows);
    fitColumns();
    setUpdatesEnabled(wasEnabled);
}

int FileListView::selectedIndex() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : selected.front()->data(colName, kPositionRole).toInt();
}

// The list may have been emptied since it was shown; a row then stands for nothing.
FileInfoItem* FileListView::selectedItem() const {
    const int position = selectedIndex();
    if (files_ == nullptr || position < 0 || position >= files_->count()) {
        return nullptr;
    }
    return &files_->item(position);
}

void FileListView::select(int i) {
    QTreeWidgetItem* row = topLevelItem(i);
    if (row == nullptr) {
        clearSelection();
        return;
    }
    setCurrentItem(row);
    scrollToItem(row);
}

void FileListView::fitColumns() {
    const QFontMetrics rowMetrics = fontMetrics();
    const QFontMetrics captionMetrics = header()->fontMetrics();
    static constexpr int extra[] = {32, 16, 16};  // the name column also holds the icon
    for (int column = 0; column < columnCount(); ++column) {
        int widest = captionMetrics.horizontalAdvance(headerItem()->text(column));
        for (int i = 0; i < topLevelItemCount(); ++i) {
            widest = std::max(widest, rowMetrics.horizontalAdvance(topLevelItem(i)->text(column)));
        }
        setColumnWidth(column, widest + extra[column]);
    }
}

void FileListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit openRequested();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

// A click that keeps the selection (a modifier click, a drag) still leaves the keyboard on
// the selected row, so the arrow keys go on from there.
void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (!selected.isEmpty() && currentItem() != selected.front()) {
        setCurrentItem(selected.front(), colName, QItemSelectionModel::NoUpdate);
    }
}

}  // namespace ravinel
