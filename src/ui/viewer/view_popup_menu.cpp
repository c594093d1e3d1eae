#include "viewer/view_popup_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QWidget>

#include "common/menu_items.h"

namespace ravinel {

namespace {

QMenu* addSubmenu(QMenu* menu, const QString& caption) {
    return menu->addMenu(caption);
}

// An action of the action list: its shortcuts work through the owner, and its menu item
// shows the key text after the tab instead of the shortcut's own name.
QAction* makeAction(QWidget* owner, const QString& caption, const QList<QKeySequence>& keys) {
    auto* action = new QAction(caption, owner);
    action->setShortcuts(keys);
    owner->addAction(action);
    return action;
}

FilterChoiceItems addFilterChoice(QMenu* menu, const QString& caption, const QString& beforeCaption,
                                  const QString& afterCaption) {
    FilterChoiceItems items;
    QMenu* submenu = addSubmenu(menu, caption);
    items.parent = submenu->menuAction();
    items.parent->setCheckable(true);
    items.group = exclusiveGroup(submenu);
    items.before = addRadioItem(submenu, items.group, beforeCaption);
    items.after = addRadioItem(submenu, items.group, afterCaption);
    items.none = addRadioItem(submenu, items.group, ViewPopupMenu::tr("なし(&N)"));
    return items;
}

std::array<FilterChoiceItems, 3> addFilterChoices(QMenu* menu, const QString& beforeCaption,
                                                  const QString& afterCaption) {
    return {
        addFilterChoice(menu, ViewPopupMenu::tr("ノイズ除去(&C)"), beforeCaption, afterCaption),
        addFilterChoice(menu, ViewPopupMenu::tr("明るさ調整(&N)"), beforeCaption, afterCaption),
        addFilterChoice(menu, ViewPopupMenu::tr("シャープ化(&S)"), beforeCaption, afterCaption)};
}

}  // namespace

ViewPopupMenu::ViewPopupMenu(QWidget* owner) {
    menu = new QMenu(owner);

    vaNext = makeAction(
        owner, tr("次へ(&Next)\t→|↓|Spc"),
        {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_Down), QKeySequence(Qt::Key_Space)});
    vaPrior = makeAction(
        owner, tr("前へ(&Prior)\t←|↑|BkSpc"),
        {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Up), QKeySequence(Qt::Key_Backspace)});
    vaFirst = makeAction(owner, tr("最初へ(&First)\tHome"), {QKeySequence(Qt::Key_Home)});
    vaLast = makeAction(owner, tr("最後へ(&Last)\tEnd"), {QKeySequence(Qt::Key_End)});
    vaThumbView = makeAction(owner, tr("サムネイルウィンドウ(&M)"), {QKeySequence(Qt::Key_F6)});

    vpClose = addMenuItem(menu, tr("閉じる(&Z)\tEsc"));
    vpReopen = addMenuItem(menu, tr("開きなおす(&O)"));
    vpReopen->setShortcut(QKeySequence(Qt::Key_F5));
    owner->addAction(vpReopen);
    menu->addSeparator();
    menu->addAction(vaNext);
    menu->addAction(vaPrior);
    vpJump = addSubmenu(menu, tr("ジャンプ(&Jump)"));
    vpJump->addAction(vaFirst);
    vpJump->addAction(vaLast);
    vpPlay = addCheckItem(menu, tr("アニメーション再生(&A)\tP"));
    menu->addSeparator();
    vpSizeUp = addMenuItem(menu, tr("拡大(&U)\tNum ＋"));
    vpSizeDown = addMenuItem(menu, tr("縮小(&D)\tNum －"));
    menu->addSeparator();

    QMenu* imageSize = addSubmenu(menu, tr("表示 サイズ(&S)"));
    sizeGroup_ = exclusiveGroup(menu);
    vpSizeOrgMode = addRadioItem(imageSize, sizeGroup_, tr("オリジナルサイズ(&D)\tD"));
    vpSizeFitMode = addRadioItem(imageSize, sizeGroup_, tr("画面にフィット(&F)\tF"));
    QMenu* rateMenu = addSubmenu(imageSize, tr("拡大率を固定(&R)"));
    vpSizeRateMode = rateMenu->menuAction();
    vpSizeRateMode->setCheckable(true);
    sizeGroup_->addAction(vpSizeRateMode);
    vpRateCustom = addMenuItem(rateMenu, tr("現在の率で固定(&C)"));
    rateMenu->addSeparator();
    vpRate200 = addMenuItem(rateMenu, "&200%");
    vpRate150 = addMenuItem(rateMenu, "&150%");
    vpRate75 = addMenuItem(rateMenu, "&75%");
    vpRate50 = addMenuItem(rateMenu, "&50%");
    QMenu* fixedMenu = addSubmenu(imageSize, tr("長辺サイズを固定(&S)"));
    vpSizeFixedMode = fixedMenu->menuAction();
    vpSizeFixedMode->setCheckable(true);
    sizeGroup_->addAction(vpSizeFixedMode);
    vpFixedCustom = addMenuItem(fixedMenu, tr("現在のサイズで固定(&C)"));
    fixedMenu->addSeparator();
    vpFixed640 = addMenuItem(fixedMenu, tr("長辺&640"));
    vpFixed320 = addMenuItem(fixedMenu, tr("長辺&320"));

    QMenu* winPos = addSubmenu(menu, tr("表示 位置(&L)"));
    posGroup_ = exclusiveGroup(menu);
    vpWinPosL = addRadioItem(winPos, posGroup_, tr("左 (&Left)\tNum 7"));
    vpWinPosC = addRadioItem(winPos, posGroup_, tr("中央 (&Center)\tNum 8"));
    vpWinPosR = addRadioItem(winPos, posGroup_, tr("右 (&Right)\tNum 9"));

    QMenu* colorBit = addSubmenu(menu, tr("表示 カラー深度(&C)"));
    colorGroup_ = exclusiveGroup(menu);
    vpColor = {addRadioItem(colorBit, colorGroup_, tr("フルカラー(&F)")),
               addRadioItem(colorBit, colorGroup_, tr("8 bit ハーフトーン(&H)")),
               addRadioItem(colorBit, colorGroup_, "&8 bit"),
               addRadioItem(colorBit, colorGroup_, "&4 bit"),
               addRadioItem(colorBit, colorGroup_, tr("&1 bit ハーフトーン白黒"))};
    vpNoFrame = addCheckItem(menu, tr("枠を表示しない(&F)"));
    menu->addSeparator();

    QMenu* reductMode = addSubmenu(menu, tr("縮小方法(&R)"));
    reductGroup_ = exclusiveGroup(menu);
    vpReductMethod = {addRadioItem(reductMode, reductGroup_, "Stretch&Draw"),
                      addRadioItem(reductMode, reductGroup_, "StretchBlt &HalfTone"),
                      addRadioItem(reductMode, reductGroup_, tr("面積平均(&A)"))};
    QMenu* expandMode = addSubmenu(menu, tr("拡大方法(&E)"));
    expandGroup_ = exclusiveGroup(menu);
    vpExpandMethod = {addRadioItem(expandMode, expandGroup_, "Stretch&Draw"),
                      addRadioItem(expandMode, expandGroup_, "StretchBlt &HalfTone"),
                      addRadioItem(expandMode, expandGroup_, tr("面積拡大(&A)"))};
    menu->addSeparator();

    vpReductFilter = addFilterChoices(addSubmenu(menu, tr("自動処理 縮小時(&1)")), tr("縮小前(&B)"),
                                      tr("縮小後(&A)"));
    vpExpandFilter = addFilterChoices(addSubmenu(menu, tr("自動処理 拡大時(&2)")), tr("拡大前(&B)"),
                                      tr("拡大後(&A)"));
    QMenu* ogsize = addSubmenu(menu, tr("自動処理 等倍時(&3)"));
    vpOgsizeFilter = {addCheckItem(ogsize, tr("ノイズ除去(&C)")),
                      addCheckItem(ogsize, tr("明るさ調整(&N)")),
                      addCheckItem(ogsize, tr("シャープ化(&S)"))};
    menu->addSeparator();

    vpSetDefault = addMenuItem(menu, tr("この設定をデフォルトに(&X)"));
    QMenu* etc = addSubmenu(menu, tr("その他(&H)"));
    etc->addAction(vaThumbView);
    vpCopyView = addMenuItem(etc, tr("表示状態をクリップボードにコピー(&C)"));
    vpCopyView->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    owner->addAction(vpCopyView);
    vpInfo = addSubmenu(menu, tr("情報(&I)"));

    // The ticks of the form's own resource, before the window's settings are applied.
    vpSizeFitMode->setChecked(true);
    vpWinPosC->setChecked(true);
    vpColor[0]->setChecked(true);
    vpReductMethod[2]->setChecked(true);
    vpExpandMethod[2]->setChecked(true);
}

void ViewPopupMenu::tickViewForm(const ViewFormConf& viewForm) {
    switch (viewForm.posMode) {
        case PosMode::left:
            tickOnly(posGroup_, vpWinPosL);
            break;
        case PosMode::right:
            tickOnly(posGroup_, vpWinPosR);
            break;
        default:
            tickOnly(posGroup_, vpWinPosC);
    }
    switch (viewForm.sizeMode) {
        case SizeMode::ownSize:
            tickOnly(sizeGroup_, vpSizeOrgMode);
            break;
        case SizeMode::fixedRate:
            tickOnly(sizeGroup_, vpSizeRateMode);
            break;
        case SizeMode::fixedLongSide:
            tickOnly(sizeGroup_, vpSizeFixedMode);
            break;
        default:
            tickOnly(sizeGroup_, vpSizeFitMode);
    }
    vpNoFrame->setChecked(viewForm.frameless);
    vpPlay->setChecked(viewForm.playAnimation);
}

void ViewPopupMenu::tickFilterChoice(const FilterChoiceItems& items, FilterPhase phase) {
    QAction* ticked = nullptr;
    switch (phase) {
        case FilterPhase::fpNone:
            ticked = items.none;
            break;
        case FilterPhase::fpBefore:
            ticked = items.before;
            break;
        case FilterPhase::fpAfter:
            ticked = items.after;
            break;
    }
    tickOnly(items.group, ticked);
    items.parent->setChecked(phase != FilterPhase::fpNone);
}

void ViewPopupMenu::tickProcessSettings(const GProcessSettings& settings) {
    // A value outside the items' range (an edited settings file) ticks none of them.
    const auto pick = [](const auto& items, uint8_t value) -> QAction* {
        return value < items.size() ? items[value] : nullptr;
    };
    tickOnly(colorGroup_, pick(vpColor, modeIndex(settings.colorMode)));
    tickOnly(reductGroup_, pick(vpReductMethod, modeIndex(settings.reductMode)));
    tickOnly(expandGroup_, pick(vpExpandMethod, modeIndex(settings.expandMode)));
    const std::array<FilterPhase, 3> reduct = {
        settings.fltInReduct.noise, settings.fltInReduct.normalize, settings.fltInReduct.sharp};
    const std::array<FilterPhase, 3> expand = {
        settings.fltInExpand.noise, settings.fltInExpand.normalize, settings.fltInExpand.sharp};
    const std::array<FilterPhase, 3> ogsize = {
        settings.fltInOgsize.noise, settings.fltInOgsize.normalize, settings.fltInOgsize.sharp};
    for (size_t i = 0; i < 3; ++i) {
        tickFilterChoice(vpReductFilter[i], reduct[i]);
        tickFilterChoice(vpExpandFilter[i], expand[i]);
        vpOgsizeFilter[i]->setChecked(ogsize[i] == FilterPhase::fpAfter);
    }
}

}  // namespace ravinel
