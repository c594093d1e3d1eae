#include "browser/shell_dir_tree.h"

#include <QFileIconProvider>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

#include "browse/folder_listing.h"
#include "browser/system_places.h"

namespace ravinel {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kPathPartRole = Qt::UserRole + 1;  // a folder's name or a drive's mount path

// Holds back painting while nodes change; restores what was set before, so that the
// steps nest.
class UpdatesHeld {
  public:
    explicit UpdatesHeld(QWidget* widget) : widget_(widget), wasEnabled_(widget->updatesEnabled()) {
        widget_->setUpdatesEnabled(false);
    }
    ~UpdatesHeld() { widget_->setUpdatesEnabled(wasEnabled_); }
    UpdatesHeld(const UpdatesHeld&) = delete;
    UpdatesHeld& operator=(const UpdatesHeld&) = delete;

  private:
    QWidget* widget_;
    bool wasEnabled_;
};

std::string pathPartOf(const QTreeWidgetItem* node) {
    return node->data(0, kPathPartRole).toByteArray().toStdString();
}

// The closed folder icon, which shows the open folder while its node is selected.
QIcon folderIconWithOpenLook(const QFileIconProvider& provider) {
    QIcon icon = provider.icon(QAbstractFileIconProvider::Folder);
    const QIcon open = QIcon::fromTheme(QStringLiteral("folder-open"));
    if (!open.isNull()) {
        for (const int size : {16, 22, 32}) {
            icon.addPixmap(open.pixmap(size), QIcon::Selected);
        }
    }
    return icon;
}

}  // namespace

ShellDirTree::ShellDirTree(QWidget* parent) : QTreeWidget(parent), placesSource_(systemPlaces) {
    setHeaderHidden(true);
    setColumnCount(1);
    // Deep folders get a horizontal scroll bar rather than names cut short.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QFileIconProvider provider;
    folderIcon_ = folderIconWithOpenLook(provider);
    driveIcon_ = provider.icon(QAbstractFileIconProvider::Drive);
    desktopIcon_ = provider.icon(QAbstractFileIconProvider::Desktop);
    computerIcon_ = provider.icon(QAbstractFileIconProvider::Computer);
    personalIcon_ = QIcon::fromTheme(QStringLiteral("folder-documents"), folderIcon_);
    connect(this, &QTreeWidget::itemExpanded, this, &ShellDirTree::expandNode);
    connect(this, &QTreeWidget::itemClicked, this, &ShellDirTree::folderClicked);
}

void ShellDirTree::setPlacesSource(std::function<ShellPlaces()> source) {
    placesSource_ = std::move(source);
}

std::string ShellDirTree::getPath() const {
    if (!initialized_) {
        return {};
    }
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? std::string() : nodePath(selected.front());
}

void ShellDirTree::setPath(const std::string& path) {
    if (initialized_ && !path.empty() && path == getPath()) {
        return;
    }
    const UpdatesHeld held(this);
    rebuildTree();
    selectPath(path);
}

void ShellDirTree::rebuildTree() {
    initialized_ = false;
    const UpdatesHeld held(this);
    clear();
    places_ = placesSource_();
    desktopNode_ = addNode(nullptr, NodeKind::desktop, tr("デスクトップ"), {}, desktopIcon_, true);
    computerNode_ =
        addNode(desktopNode_, NodeKind::computer, tr("コンピュータ"), {}, computerIcon_, true);
    personalNode_ = addNode(desktopNode_, NodeKind::personal, tr("ドキュメント"), {}, personalIcon_,
                            hasSubfolders(places_.personalPath));
    // Volumes are not probed until expanded: a slow or empty drive costs nothing here.
    for (const DriveEntry& drive : places_.drives) {
        addNode(computerNode_, NodeKind::drive, QString::fromStdString(driveNodeText(drive)),
                drive.mountPath, driveIcon_, true);
    }
    addSubfolders(desktopNode_);
    initialized_ = true;
}

void ShellDirTree::selectPath(const std::string& path) {
    const UpdatesHeld held(this);
    if (!initialized_) {
        rebuildTree();
    }
    const TreePathStart start = startOfTreePath(path, places_, NameCollation::user());
    QTreeWidgetItem* node = computerNode_;
    switch (start.root) {
        case TreePathStart::Root::desktop:
            node = desktopNode_;
            break;
        case TreePathStart::Root::personal:
            node = personalNode_;
            break;
        case TreePathStart::Root::drive:
            selectAndExpand(computerNode_);
            node = computerNode_->child(start.drive);
            break;
        case TreePathStart::Root::computer:
            break;
    }
    selectAndExpand(node);
    for (const std::string& part : start.parts) {
        std::vector<std::string> names;
        names.reserve(static_cast<size_t>(node->childCount()));
        for (int i = 0; i < node->childCount(); ++i) {
            names.push_back(pathPartOf(node->child(i)));
        }
        const int found = matchFolderName(names, part, NameCollation::user());
        if (found < 0) {
            break;
        }
        node = node->child(found);
        selectAndExpand(node);
    }
    scrollToItem(node);
}

std::string ShellDirTree::nodePath(const QTreeWidgetItem* node) const {
    std::string path;
    for (; node != nullptr; node = node->parent()) {
        switch (nodeKind(node)) {
            case NodeKind::desktop:
                return places_.desktopPath + path;
            case NodeKind::computer:
                return path;
            case NodeKind::personal:
                return places_.personalPath + path;
            case NodeKind::drive:
                return pathPartOf(node) + path;
            case NodeKind::folder:
                path = pathPartOf(node) + "/" + path;
                break;
        }
    }
    return path;
}

void ShellDirTree::addSubfolders(QTreeWidgetItem* node) {
    const std::string path = nodePath(node);
    if (path.empty()) {
        return;
    }
    std::vector<std::string> names = listSubfolders(path);
    sortFolderNames(names, NameCollation::user());
    for (const std::string& name : names) {
        addNode(node, NodeKind::folder, QString::fromStdString(name), name, folderIcon_,
                hasSubfolders(path + name + "/"));
    }
}

ShellDirTree::NodeKind ShellDirTree::nodeKind(const QTreeWidgetItem* node) const {
    return static_cast<NodeKind>(node->data(0, kKindRole).toInt());
}

// The folder was selected before the window had its final size (a window manager may
// change it as it maps the window): it is brought into view again once the tree is laid out.
void ShellDirTree::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (currentItem() != nullptr) {
            scrollToItem(currentItem());
        }
    });
}

void ShellDirTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit folderClicked();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QTreeWidgetItem* ShellDirTree::addNode(QTreeWidgetItem* parent, NodeKind kind, const QString& text,
                                       const std::string& pathPart, const QIcon& icon,
                                       bool hasChildren) {
    auto* node = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, text);
    node->setIcon(0, icon);
    node->setData(0, kKindRole, static_cast<int>(kind));
    node->setData(0, kPathPartRole, QByteArray::fromStdString(pathPart));
    node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicator);
    return node;
}

// Subfolders are listed when a node is first opened; a folder found empty (or a drive
// without a medium) loses its expansion button.
void ShellDirTree::expandNode(QTreeWidgetItem* node) {
    if (node->childCount() > 0) {
        return;
    }
    addSubfolders(node);
    node->setChildIndicatorPolicy(node->childCount() > 0 ? QTreeWidgetItem::ShowIndicator
                                                         : QTreeWidgetItem::DontShowIndicator);
}

void ShellDirTree::selectAndExpand(QTreeWidgetItem* node) {
    for (QTreeWidgetItem* above = node->parent(); above != nullptr; above = above->parent()) {
        above->setExpanded(true);
    }
    setCurrentItem(node);
    node->setExpanded(true);
}

}  // namespace ravinel
