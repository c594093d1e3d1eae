#include "viewer/view_popup_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QTranslator>
#include <QWidget>

#include "archive/archiver_error.h"
#include "common/error_text.h"
#include "common/ui_language.h"
#include "process/filter/process_stage.h"
#include "tests/scoped_env.h"
#include "viewer/view_texts.h"

namespace ravinel {
namespace {

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

QMenu* submenu(const QMenu* menu, const QString& caption) {
    for (const QAction* action : menu->actions()) {
        if (action->text() == caption) {
            return action->menu();
        }
    }
    return nullptr;
}

std::vector<QAction*> checked(const std::vector<QAction*>& actions) {
    std::vector<QAction*> result;
    for (QAction* action : actions) {
        if (action->isChecked()) {
            result.push_back(action);
        }
    }
    return result;
}

class ViewPopupMenuTest : public ::testing::Test {
  protected:
    QWidget owner;
    ViewPopupMenu menu{&owner};
};

TEST_F(ViewPopupMenuTest, TopLevelItemsInOrderWithKeyTexts) {
    const QStringList expected = {"閉じる(&Z)\tEsc",
                                  "開きなおす(&O)",
                                  "-",
                                  "次へ(&Next)\t→|↓|Spc",
                                  "前へ(&Prior)\t←|↑|BkSpc",
                                  "ジャンプ(&Jump)",
                                  "アニメーション再生(&A)\tP",
                                  "-",
                                  "拡大(&U)\tNum ＋",
                                  "縮小(&D)\tNum －",
                                  "-",
                                  "表示 サイズ(&S)",
                                  "表示 位置(&L)",
                                  "表示 カラー深度(&C)",
                                  "枠を表示しない(&F)",
                                  "-",
                                  "縮小方法(&R)",
                                  "拡大方法(&E)",
                                  "-",
                                  "自動処理 縮小時(&1)",
                                  "自動処理 拡大時(&2)",
                                  "自動処理 等倍時(&3)",
                                  "-",
                                  "この設定をデフォルトに(&X)",
                                  "その他(&H)",
                                  "情報(&I)"};
    EXPECT_EQ(captions(menu.menu), expected);
    EXPECT_EQ(captions(menu.vpJump), (QStringList{"最初へ(&First)\tHome", "最後へ(&Last)\tEnd"}));
    EXPECT_EQ(captions(submenu(menu.menu, "その他(&H)")),
              (QStringList{"サムネイルウィンドウ(&M)", "表示状態をクリップボードにコピー(&C)"}));
}

TEST_F(ViewPopupMenuTest, SubmenusHoldEveryChoice) {
    QMenu* size = submenu(menu.menu, "表示 サイズ(&S)");
    EXPECT_EQ(captions(size), (QStringList{"オリジナルサイズ(&D)\tD", "画面にフィット(&F)\tF",
                                           "拡大率を固定(&R)", "長辺サイズを固定(&S)"}));
    EXPECT_EQ(captions(submenu(size, "拡大率を固定(&R)")),
              (QStringList{"現在の率で固定(&C)", "-", "&200%", "&150%", "&75%", "&50%"}));
    EXPECT_EQ(captions(submenu(size, "長辺サイズを固定(&S)")),
              (QStringList{"現在のサイズで固定(&C)", "-", "長辺&640", "長辺&320"}));
    EXPECT_EQ(captions(submenu(menu.menu, "表示 位置(&L)")),
              (QStringList{"左 (&Left)\tNum 7", "中央 (&Center)\tNum 8", "右 (&Right)\tNum 9"}));
    EXPECT_EQ(captions(submenu(menu.menu, "表示 カラー深度(&C)")),
              (QStringList{"フルカラー(&F)", "8 bit ハーフトーン(&H)", "&8 bit", "&4 bit",
                           "&1 bit ハーフトーン白黒"}));
    EXPECT_EQ(captions(submenu(menu.menu, "縮小方法(&R)")),
              (QStringList{"Stretch&Draw", "StretchBlt &HalfTone", "面積平均(&A)"}));
    EXPECT_EQ(captions(submenu(menu.menu, "拡大方法(&E)")),
              (QStringList{"Stretch&Draw", "StretchBlt &HalfTone", "面積拡大(&A)"}));
    QMenu* reduct = submenu(menu.menu, "自動処理 縮小時(&1)");
    EXPECT_EQ(captions(reduct),
              (QStringList{"ノイズ除去(&C)", "明るさ調整(&N)", "シャープ化(&S)"}));
    EXPECT_EQ(captions(submenu(reduct, "明るさ調整(&N)")),
              (QStringList{"縮小前(&B)", "縮小後(&A)", "なし(&N)"}));
    EXPECT_EQ(captions(submenu(submenu(menu.menu, "自動処理 拡大時(&2)"), "シャープ化(&S)")),
              (QStringList{"拡大前(&B)", "拡大後(&A)", "なし(&N)"}));
    EXPECT_EQ(captions(submenu(menu.menu, "自動処理 等倍時(&3)")),
              (QStringList{"ノイズ除去(&C)", "明るさ調整(&N)", "シャープ化(&S)"}));
}

TEST_F(ViewPopupMenuTest, NavigationShortcutsAndOwnerActions) {
    EXPECT_EQ(menu.vaNext->shortcuts(),
              (QList<QKeySequence>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Space}));
    EXPECT_EQ(menu.vaPrior->shortcuts(),
              (QList<QKeySequence>{Qt::Key_Left, Qt::Key_Up, Qt::Key_Backspace}));
    EXPECT_EQ(menu.vaFirst->shortcut(), QKeySequence(Qt::Key_Home));
    EXPECT_EQ(menu.vaLast->shortcut(), QKeySequence(Qt::Key_End));
    EXPECT_EQ(menu.vaThumbView->shortcut(), QKeySequence(Qt::Key_F6));
    EXPECT_EQ(menu.vpReopen->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(menu.vpCopyView->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    // Shortcuts work only for actions the window itself holds.
    for (QAction* action : {menu.vaNext, menu.vaPrior, menu.vaFirst, menu.vaLast, menu.vaThumbView,
                            menu.vpReopen, menu.vpCopyView}) {
        EXPECT_TRUE(owner.actions().contains(action)) << action->text().toStdString();
    }
}

TEST_F(ViewPopupMenuTest, ResourceTicksBeforeSettings) {
    EXPECT_TRUE(menu.vpSizeFitMode->isChecked());
    EXPECT_TRUE(menu.vpWinPosC->isChecked());
    EXPECT_TRUE(menu.vpColor[0]->isChecked());
    EXPECT_TRUE(menu.vpReductMethod[2]->isChecked());
    EXPECT_TRUE(menu.vpExpandMethod[2]->isChecked());
}

TEST_F(ViewPopupMenuTest, ViewFormTicksWithFallbacks) {
    const std::vector<QAction*> sizeItems = {menu.vpSizeOrgMode, menu.vpSizeFitMode,
                                             menu.vpSizeRateMode, menu.vpSizeFixedMode};
    const std::vector<QAction*> posItems = {menu.vpWinPosL, menu.vpWinPosC, menu.vpWinPosR};
    ViewFormConf conf;
    conf.sizeMode = SizeMode::fixedLongSide;
    conf.posMode = PosMode::right;
    conf.frameless = true;
    menu.tickViewForm(conf);
    EXPECT_EQ(checked(sizeItems), std::vector<QAction*>{menu.vpSizeFixedMode});
    EXPECT_EQ(checked(posItems), std::vector<QAction*>{menu.vpWinPosR});
    EXPECT_TRUE(menu.vpNoFrame->isChecked());

    conf.sizeMode = modeOfIndex<SizeMode>(7);  // unknown modes show as fit and centre
    conf.posMode = modeOfIndex<PosMode>(200);
    conf.frameless = false;
    menu.tickViewForm(conf);
    EXPECT_EQ(checked(sizeItems), std::vector<QAction*>{menu.vpSizeFitMode});
    EXPECT_EQ(checked(posItems), std::vector<QAction*>{menu.vpWinPosC});
    EXPECT_FALSE(menu.vpNoFrame->isChecked());
}

TEST_F(ViewPopupMenuTest, ProcessSettingsTickColourMethodsAndFilters) {
    GProcessSettings settings;
    settings.colorMode = ColorMode::palette4;
    settings.reductMode = ResizeMethod::stretch;
    settings.expandMode = ResizeMethod::halftone;
    settings.fltInReduct = {FilterPhase::fpBefore, FilterPhase::fpNone, FilterPhase::fpAfter};
    settings.fltInExpand = {FilterPhase::fpNone, static_cast<FilterPhase>(3), FilterPhase::fpNone};
    settings.fltInOgsize = {FilterPhase::fpAfter, FilterPhase::fpBefore, FilterPhase::fpNone};
    menu.tickProcessSettings(settings);

    const std::vector<QAction*> colors(menu.vpColor.begin(), menu.vpColor.end());
    EXPECT_EQ(checked(colors), std::vector<QAction*>{menu.vpColor[3]});
    EXPECT_TRUE(menu.vpReductMethod[0]->isChecked());
    EXPECT_FALSE(menu.vpReductMethod[2]->isChecked());
    EXPECT_TRUE(menu.vpExpandMethod[1]->isChecked());

    const auto& noise = menu.vpReductFilter[0];
    EXPECT_TRUE(noise.before->isChecked());
    EXPECT_TRUE(noise.parent->isChecked());
    const auto& brightness = menu.vpReductFilter[1];
    EXPECT_TRUE(brightness.none->isChecked());
    EXPECT_FALSE(brightness.parent->isChecked());
    EXPECT_TRUE(menu.vpReductFilter[2].after->isChecked());
    // A stored 3 matches no choice: none of B, A, N is ticked, and the filter counts as on.
    const auto& odd = menu.vpExpandFilter[1];
    EXPECT_EQ(checked({odd.before, odd.after, odd.none}), std::vector<QAction*>{});
    EXPECT_TRUE(odd.parent->isChecked());
    // Same-size toggles are ticked only by "after".
    EXPECT_TRUE(menu.vpOgsizeFilter[0]->isChecked());
    EXPECT_FALSE(menu.vpOgsizeFilter[1]->isChecked());
    EXPECT_FALSE(menu.vpOgsizeFilter[2]->isChecked());

    settings.colorMode =
        modeOfIndex<ColorMode>(9);  // out of range: nothing ticked rather than a stale choice
    menu.tickProcessSettings(settings);
    EXPECT_EQ(checked(colors), std::vector<QAction*>{});
}

TEST_F(ViewPopupMenuTest, RadioGroupsStayExclusiveWhenClicked) {
    menu.vpColor[4]->trigger();
    const std::vector<QAction*> colors(menu.vpColor.begin(), menu.vpColor.end());
    EXPECT_EQ(checked(colors), std::vector<QAction*>{menu.vpColor[4]});
    menu.vpColor[4]->trigger();  // clicking the ticked item keeps it ticked
    EXPECT_EQ(checked(colors), std::vector<QAction*>{menu.vpColor[4]});
    menu.vpSizeRateMode->setChecked(true);
    EXPECT_FALSE(menu.vpSizeFitMode->isChecked());
    // After ticking from the settings the group still hands the tick on.
    ViewFormConf conf;
    conf.sizeMode = SizeMode::ownSize;
    menu.tickViewForm(conf);
    menu.vpSizeFixedMode->setChecked(true);
    EXPECT_FALSE(menu.vpSizeOrgMode->isChecked());
    EXPECT_FALSE(menu.vpSizeRateMode->isChecked());
}

// The built-in English translation loads and reaches the menus, the core's stage texts and
// messages and the information submenu; Japanese shows the source texts.
TEST(ViewPopupMenuLanguage, EnglishComesFromTheTranslationJapaneseIsTheSource) {
    struct Case {
        const char* lang;
        const char* close;
        const char* stage;
        const char* fileNameLine;
        const char* archiveError;
    };
    const Case cases[] = {{"ja", "閉じる(&Z)\tEsc", "リサイズ中", "ファイル名\tp.jpg",
                           "LHA 形式書庫 を扱うには UNLHA32.DLL が 必要です。"},
                          {"en", "&Close\tEsc", "Resizing", "File name\tp.jpg",
                           "UNLHA32.DLL is needed for LHA archives."}};
    for (const Case& c : cases) {
        const testing::ScopedEnv env("RAVINEL_LANG", c.lang);
        QTranslator translator;
        ASSERT_TRUE(useUiLanguage(translator, chooseUiLanguage("", QLocale::system())));
        QWidget owner;
        const ViewPopupMenu items(&owner);
        EXPECT_EQ(items.vpClose->text(), QString::fromUtf8(c.close)) << c.lang;
        EXPECT_EQ(
            QCoreApplication::translate("ProcessStage", processStageText(ProcessStage::resizing)),
            QString::fromUtf8(c.stage))
            << c.lang;
        InfoState state;
        state.fileName = "p.jpg";
        EXPECT_EQ(infoEntries(state).front().caption, c.fileNameLine) << c.lang;
        // The core's message and its argument that is a text of ours, both translated.
        EXPECT_EQ(errorText(NoArchiverDllError("LHA 形式書庫", "UNLHA32.DLL")),
                  QString::fromUtf8(c.archiveError))
            << c.lang;
    }
}

}  // namespace
}  // namespace ravinel
