#pragma once

#include <QCoreApplication>
#include <QMenu>
#include <array>

#include "common/menu_items.h"
#include "process/pipeline/g_process_settings.h"
#include "settings/settings_records.h"

class QAction;
class QActionGroup;
class QWidget;

namespace ravinel {

// The three B/A/N choices of one automatic filter under the reduce or enlarge submenu;
// the parent item is ticked while the filter runs at all.
struct FilterChoiceItems {
    QAction* parent = nullptr;
    QAction* before = nullptr;
    QAction* after = nullptr;
    QAction* none = nullptr;
    QActionGroup* group = nullptr;
};

// The image window's popup menu: every item, its caption with the key text, its radio
// group and its tick rule. The owner connects the items to its commands.
struct ViewPopupMenu {
    Q_DECLARE_TR_FUNCTIONS(ViewPopupMenu)

  public:
    // Builds the menu and the navigation actions with their shortcuts; every action is
    // also added to owner so that its shortcut works while the menu is closed.
    explicit ViewPopupMenu(QWidget* owner);

    // Ticks the size-mode, position and frameless items for viewForm.
    void tickViewForm(const ViewFormConf& viewForm);
    // Ticks the colour, method and filter items for settings.
    void tickProcessSettings(const GProcessSettings& settings);
    // Ticks the filter items of one filter from its phase (a phase of 3 ticks none).
    static void tickFilterChoice(const FilterChoiceItems& items, FilterPhase phase);

    QMenu* menu = nullptr;

    // Actions of the action list, shown as the navigation and browser items.
    QAction* vaNext = nullptr;
    QAction* vaPrior = nullptr;
    QAction* vaFirst = nullptr;
    QAction* vaLast = nullptr;
    QAction* vaThumbView = nullptr;

    QAction* vpClose = nullptr;
    QAction* vpReopen = nullptr;
    QMenu* vpJump = nullptr;
    // Ticked while a moving picture plays; enabled for moving pictures only.
    QAction* vpPlay = nullptr;
    QAction* vpSizeUp = nullptr;
    QAction* vpSizeDown = nullptr;

    QAction* vpSizeOrgMode = nullptr;
    QAction* vpSizeFitMode = nullptr;
    QAction* vpSizeRateMode = nullptr;
    QAction* vpSizeFixedMode = nullptr;
    QAction* vpRateCustom = nullptr;
    QAction* vpRate200 = nullptr;
    QAction* vpRate150 = nullptr;
    QAction* vpRate75 = nullptr;
    QAction* vpRate50 = nullptr;
    QAction* vpFixedCustom = nullptr;
    QAction* vpFixed640 = nullptr;
    QAction* vpFixed320 = nullptr;

    QAction* vpWinPosL = nullptr;
    QAction* vpWinPosC = nullptr;
    QAction* vpWinPosR = nullptr;

    // Colour modes 0 to 4: full colour, 8-bit halftone, 8 bit, 4 bit, 1-bit halftone.
    std::array<QAction*, 5> vpColor{};
    QAction* vpNoFrame = nullptr;

    // Methods 0 to 2: StretchDraw, halftone StretchBlt, area average.
    std::array<QAction*, 3> vpReductMethod{};
    std::array<QAction*, 3> vpExpandMethod{};

    // Filters in the order noise removal, brightness, sharpening.
    std::array<FilterChoiceItems, 3> vpReductFilter{};
    std::array<FilterChoiceItems, 3> vpExpandFilter{};
    std::array<QAction*, 3> vpOgsizeFilter{};

    QAction* vpSetDefault = nullptr;
    QAction* vpCopyView = nullptr;
    QMenu* vpInfo = nullptr;

  private:
    QActionGroup* sizeGroup_ = nullptr;
    QActionGroup* posGroup_ = nullptr;
    QActionGroup* colorGroup_ = nullptr;
    QActionGroup* reductGroup_ = nullptr;
    QActionGroup* expandGroup_ = nullptr;
};

}  // namespace ravinel
