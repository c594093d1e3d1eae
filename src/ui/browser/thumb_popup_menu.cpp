#include "browser/thumb_popup_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QWidget>

#include "common/menu_items.h"
#include "process/pipeline/g_process_settings.h"

namespace ravinel {

namespace {

QAction* addShortcutItem(QWidget* owner, QMenu* menu, const QString& caption,
                         const QKeySequence& key) {
    QAction* action = addMenuItem(menu, caption);
    action->setShortcut(key);
    owner->addAction(action);
    return action;
}

}  // namespace

ThumbPopupMenu::ThumbPopupMenu(QWidget* owner) {
    menu = new QMenu(owner);

    mmEtc = menu->addMenu(tr("その他(&X)"));
    mmExecOnClick = addCheckItem(mmEtc, tr("画像以外は関連付けで開く(&X)"));
    mmExecOnClick->setVisible(false);
    mmAnalyzeHeader = addCheckItem(mmEtc, tr("拡張子を信用しない（内容を解析)(&A)"));
    mmUseVixCat = addCheckItem(mmEtc, tr("&ViXのカタログファイルを読み込む"));
    mmUseVixCatFirst = addCheckItem(mmEtc, tr("Vi&Xのカタログファイルを最優先する"));
    mmQuality = mmEtc->addMenu(tr("サムネイル作成方法(&M)"));
    qualityGroup_ = exclusiveGroup(menu);
    mmThumbQHi = addRadioItem(mmQuality, qualityGroup_, tr("精度重視(&Q)"));
    mmThumbQLow = addRadioItem(mmQuality, qualityGroup_, tr("速度重視(&S)"));
    mmThumbQHi->setChecked(true);
    mmOption = addMenuItem(mmEtc, tr("オプション(&O)"));
    menu->addSeparator();  // N4

    mmExplorer = addShortcutItem(owner, menu, tr("ファイルマネージャで開く(&E)"),
                                 QKeySequence(Qt::CTRL | Qt::Key_E));
    mmSort = menu->addMenu(tr("ソート(&S)"));
    sortGroup_ = exclusiveGroup(menu);
    mmSortItems = {addRadioItem(mmSort, sortGroup_, tr("ファイル名 &A→Z")),
                   addRadioItem(mmSort, sortGroup_, tr("ファイル名 &Z→A")),
                   addRadioItem(mmSort, sortGroup_, tr("ファイル名(数字) 1→10(&U)")),
                   addRadioItem(mmSort, sortGroup_, tr("ファイル名(数字) 10→1(&D)")),
                   addRadioItem(mmSort, sortGroup_, tr("サイズ 小→大(&S)")),
                   addRadioItem(mmSort, sortGroup_, tr("サイズ 大→小(&B)")),
                   addRadioItem(mmSort, sortGroup_, tr("更新日時 旧→新(&O)")),
                   addRadioItem(mmSort, sortGroup_, tr("更新日時 新→旧(&N)"))};
    mmRefreshFile =
        addShortcutItem(owner, menu, tr("更新 - ファイル(&F)"), QKeySequence(Qt::Key_F5));
    mmRefreshTree =
        addShortcutItem(owner, menu, tr("更新 - ツリー(&R)"), QKeySequence(Qt::CTRL | Qt::Key_F5));
    menu->addSeparator();  // N2

    viewGroup_ = exclusiveGroup(menu);
    mmThumb = addShortcutItem(owner, menu, tr("表示 - サムネイル(&T)"), QKeySequence(Qt::Key_F8));
    mmReport = addShortcutItem(owner, menu, tr("表示 - 詳細リスト(&L)"), QKeySequence(Qt::Key_F7));
    for (QAction* item : {mmThumb, mmReport}) {
        item->setCheckable(true);
        viewGroup_->addAction(item);
    }
    menu->addSeparator();  // N1

    mmExit = addMenuItem(menu, tr("アプリケーションの終了(&Q)"));
}

void ThumbPopupMenu::tickSortMode(SortMode mode) {
    const size_t index = modeIndex(mode);
    tickOnly(sortGroup_, index < mmSortItems.size() ? mmSortItems[index] : nullptr);
}

}  // namespace ravinel
