#pragma once

#include <QIcon>
#include <QString>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "browse/shell_places.h"

namespace ravinel {

// The folder tree of the browser window: the desktop at the root, below it the computer
// with one node per mounted volume, the documents folder and the folders on the desktop;
// below every volume and folder its subfolders, listed when a node is first expanded.
// The browser asks it for the path of the folder the user picked (getPath) and tells it
// which folder to show (setPath). Single selection. Paths are POSIX paths; every folder
// path ends with "/".
class ShellDirTree : public QTreeWidget {
    Q_OBJECT

  public:
    // What a node stands for.
    enum class NodeKind { desktop, computer, personal, drive, folder };

    // Builds no nodes yet: the first setPath does.
    explicit ShellDirTree(QWidget* parent = nullptr);

    // Where the places come from at every rebuildTree; systemPlaces by default. Tests use
    // their own folders.
    void setPlacesSource(std::function<ShellPlaces()> source);

    // Whether the fixed nodes exist (after the first rebuildTree).
    bool initialized() const { return initialized_; }

    // The path of the selected node (see nodePath); empty before the first rebuildTree,
    // with nothing selected and for the computer node.
    std::string getPath() const;
    // Shows path: nothing happens when the tree is built and path is the non-empty
    // getPath (compared byte for byte); otherwise all nodes are rebuilt and path selected.
    void setPath(const std::string& path);
    // Deletes all nodes and builds the fixed ones, the drives and the folders on the
    // desktop afresh; selects nothing. The browser's tree refresh calls it, then setPath.
    void rebuildTree();
    // Selects and expands the node of path, walking down from the desktop, documents or
    // drive node and matching folder names case-insensitively (an exact name first). A
    // path that does not exist selects the deepest node matched on the way; an empty or
    // relative path selects the computer node.
    void selectPath(const std::string& path);

    // The file-system path of node, ending with "/": the desktop or documents folder, the
    // drive's mount path, or the path of the parent node plus the folder name. Empty for
    // the computer node and for null.
    std::string nodePath(const QTreeWidgetItem* node) const;
    // Adds a child node per listable folder inside node's path, sorted alphabetically with
    // case ignored (Linux lists folders in no useful order), each with an expansion button
    // when it has subfolders itself. Nothing for an empty path.
    void addSubfolders(QTreeWidgetItem* node);

    NodeKind nodeKind(const QTreeWidgetItem* node) const;
    QTreeWidgetItem* desktopNode() const { return desktopNode_; }
    QTreeWidgetItem* computerNode() const { return computerNode_; }
    QTreeWidgetItem* personalNode() const { return personalNode_; }
    const std::string& desktopPath() const { return places_.desktopPath; }
    const std::string& personalPath() const { return places_.personalPath; }

  signals:
    // A mouse click on a node, or Enter (which is swallowed). Moving the selection with
    // the keyboard does not emit it.
    void folderClicked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, NodeKind kind, const QString& text,
                             const std::string& pathPart, const QIcon& icon, bool hasChildren);
    void expandNode(QTreeWidgetItem* node);
    void selectAndExpand(QTreeWidgetItem* node);

    std::function<ShellPlaces()> placesSource_;
    bool initialized_ = false;
    QTreeWidgetItem* desktopNode_ = nullptr;
    QTreeWidgetItem* computerNode_ = nullptr;
    QTreeWidgetItem* personalNode_ = nullptr;
    ShellPlaces places_;
    QIcon folderIcon_;  // closed, with the open folder as its selected look
    QIcon driveIcon_;
    QIcon desktopIcon_;
    QIcon computerIcon_;
    QIcon personalIcon_;
};

}  // namespace ravinel
