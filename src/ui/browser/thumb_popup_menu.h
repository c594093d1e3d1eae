#pragma once

#include <QCoreApplication>
#include <QMenu>
#include <array>

#include "browse/sort_mode.h"

class QAction;
class QActionGroup;
class QWidget;

namespace ravinel {

// The browser window's one menu: every item, its caption, shortcut, radio group and tick
// rule. The owner connects the items to its commands.
struct ThumbPopupMenu {
    Q_DECLARE_TR_FUNCTIONS(ThumbPopupMenu)

  public:
    // Builds the menu; items with a shortcut are also added to owner, so that the
    // shortcut works while the menu is closed.
    explicit ThumbPopupMenu(QWidget* owner);

    // Ticks the sort item of mode; a mode past the items (the settings file may hold
    // one) ticks none.
    void tickSortMode(SortMode mode);

    QMenu* menu = nullptr;

    QMenu* mmEtc = nullptr;
    QAction* mmExecOnClick = nullptr;  // hidden: kept for the settings only
    QAction* mmAnalyzeHeader = nullptr;
    QAction* mmUseVixCat = nullptr;
    QAction* mmUseVixCatFirst = nullptr;
    QMenu* mmQuality = nullptr;
    QAction* mmThumbQHi = nullptr;
    QAction* mmThumbQLow = nullptr;
    QAction* mmOption = nullptr;

    QAction* mmExplorer = nullptr;
    QMenu* mmSort = nullptr;
    // Sort modes 0 to 7: name A-Z, Z-A, numbers up, down, size up, down, time up, down.
    std::array<QAction*, 8> mmSortItems{};
    QAction* mmRefreshFile = nullptr;
    QAction* mmRefreshTree = nullptr;

    QAction* mmThumb = nullptr;
    QAction* mmReport = nullptr;

    QAction* mmExit = nullptr;

  private:
    QActionGroup* qualityGroup_ = nullptr;
    QActionGroup* sortGroup_ = nullptr;
    QActionGroup* viewGroup_ = nullptr;
};

}  // namespace ravinel
