#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <cmath>
#include <cstdlib>

#include "dib/nk_dib.h"
#include "tests/ui/dialogs/options_window_fixture.h"

namespace ravinel::testing {
namespace {

TEST_F(OptionsTest, ClosingWritesEveryEditedRecordBack) {
    Settings& settings = hub().settings();
    const GProcessSettings filters = settings.viewConf;
    openOptions();
    control<QComboBox>("CmBxColor")->setCurrentIndex(3);
    control<QComboBox>("CmBxReductMode")->setCurrentIndex(0);
    control<QComboBox>("CmBxExpandMode")->setCurrentIndex(1);
    control<QCheckBox>("CkBxDither")->setChecked(false);
    control<QComboBox>("CmBxSizeMode")->setCurrentIndex(2);
    control<QSlider>("TBFixedRate")->setValue(250);
    control<QSlider>("TBFixedSize")->setValue(1024);
    control<QComboBox>("CmBxPos")->setCurrentIndex(2);
    control<QCheckBox>("CkBxFrameless")->setChecked(true);
    control<QCheckBox>("CkBxWBuffer")->setChecked(false);
    control<QSpinBox>("SpEdPreload")->setValue(3);
    control<QCheckBox>("CkBxArc")->setChecked(false);
    control<QCheckBox>("CkBxArcAutoClose")->setChecked(false);
    control<QTabWidget>("PageCon")->setCurrentIndex(2);
    EXPECT_EQ(settings.viewConf.colorMode, ColorMode::full) << "copies until the window closes";
    control<QPushButton>("ButtonOK")->click();

    EXPECT_EQ(settings.viewConf.colorMode, ColorMode::palette4);
    EXPECT_EQ(settings.viewConf.reductMode, ResizeMethod::stretch);
    EXPECT_EQ(settings.viewConf.expandMode, ResizeMethod::halftone);
    EXPECT_FALSE(settings.viewConf.dither);
    EXPECT_EQ(settings.viewConf.fltInReduct, filters.fltInReduct) << "travels back unchanged";
    EXPECT_EQ(settings.viewConf.use3DNow, filters.use3DNow);
    EXPECT_EQ(settings.viewForm.sizeMode, SizeMode::fixedRate);
    EXPECT_DOUBLE_EQ(settings.viewForm.sizeRate, 2.5);
    EXPECT_EQ(settings.viewForm.sizeFixed, 1024);
    EXPECT_EQ(settings.viewForm.posMode, PosMode::right);
    EXPECT_TRUE(settings.viewForm.frameless);
    EXPECT_FALSE(settings.viewForm.wBuffer);
    EXPECT_EQ(settings.preloadCount, 3);
    EXPECT_FALSE(settings.thumbConf.openArc);
    EXPECT_FALSE(settings.thumbConf.closeArcList);
    EXPECT_EQ(settings.selectPage, 2);
}

TEST_F(OptionsTest, FixedSizeBarsShowOnlyInTheirModes) {
    hub().settings().viewForm.sizeMode = SizeMode::fixedLongSide;
    openOptions();
    auto* mode = control<QComboBox>("CmBxSizeMode");
    auto* rate = control<QSlider>("TBFixedRate");
    auto* size = control<QSlider>("TBFixedSize");
    EXPECT_TRUE(size->isEnabled() && !size->isHidden());
    EXPECT_TRUE(!rate->isEnabled() && rate->isHidden());
    for (const int m : {0, 1}) {
        mode->setCurrentIndex(m);
        EXPECT_TRUE(!rate->isEnabled() && rate->isHidden()) << m;
        EXPECT_TRUE(!size->isEnabled() && size->isHidden()) << m;
    }
    mode->setCurrentIndex(2);
    EXPECT_TRUE(rate->isEnabled() && !rate->isHidden());
    EXPECT_TRUE(!size->isEnabled() && size->isHidden());
}

TEST_F(OptionsTest, FixedSizeLabelsTellTheStoredValueThenTheMovedOne) {
    hub().settings().viewForm.sizeRate = 1.234;
    hub().settings().viewForm.sizeFixed = 800;
    openOptions();
    EXPECT_EQ(control<QLabel>("LabelRate")->text(), "現在の設定倍率（パーセント） : 123");
    EXPECT_EQ(control<QLabel>("LabelSize")->text(), "現在の設定サイズ（ドット） : 800");
    control<QSlider>("TBFixedRate")->setValue(150);
    control<QSlider>("TBFixedSize")->setValue(4);
    EXPECT_EQ(control<QLabel>("LabelRate")->text(), "現在の倍率（パーセント） : 150");
    EXPECT_EQ(control<QLabel>("LabelSize")->text(), "現在のサイズ（ドット） : 4");
}

TEST_F(OptionsTest, StoredRatesOutsideTheBarLandOnItsEnds) {
    const struct {
        double stored;
        double kept;
    } cases[] = {{1e300, 5.0}, {-7, 0.1}, {std::nan(""), 0.1}, {0.5, 0.5}};
    for (const auto& c : cases) {
        hub().settings().viewForm.sizeRate = c.stored;
        openOptions().close();
        EXPECT_DOUBLE_EQ(hub().settings().viewForm.sizeRate, c.kept) << c.stored;
    }
}

TEST_F(OptionsTest, VixFolderGetsItsTrailingSlash) {
    OptionsWindow& options = openOptions();
    control<QLineEdit>("MemoViXDir")->setText("/home/user/Pics");
    options.close();
    EXPECT_EQ(hub().settings().thumbConf.vixHomeDir, "/home/user/Pics/");

    hub().settings().thumbConf.vixHomeDir = "/srv/vix/";
    OptionsWindow& again = openOptions();
    EXPECT_EQ(control<QLineEdit>("MemoViXDir")->text(), "/srv/vix/");
    control<QLineEdit>("MemoViXDir")->clear();
    again.close();
    EXPECT_EQ(hub().settings().thumbConf.vixHomeDir, "") << "no folder, not the root";
}

TEST_F(OptionsTest, VixFolderButtonTakesTheChosenFolder) {
    OptionsWindow& options = openOptions();
    options.chooseFolder = []() -> std::optional<std::string> { return "/data/catalogs"; };
    control<QPushButton>("ButtonViX")->click();
    EXPECT_EQ(control<QLineEdit>("MemoViXDir")->text(), "/data/catalogs/");
    options.chooseFolder = []() -> std::optional<std::string> { return std::nullopt; };
    control<QPushButton>("ButtonViX")->click();
    EXPECT_EQ(control<QLineEdit>("MemoViXDir")->text(), "/data/catalogs/");
}

TEST_F(OptionsTest, LoaderOptionsChangeAtOnceAndAreKept) {
    GraphicLoader& loader = hub().graphicLoader();
    loader.useSpiPrev = false;
    loader.inBmpFirst = true;
    loader.inJpgFirst = false;
    openOptions();
    EXPECT_FALSE(control<QCheckBox>("CkBxUseSPIPrev")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CkBxInBMPFirst")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CkBxOrientation")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("CkBxColorProfile")->isChecked());
    EXPECT_TRUE(loader.inBmpFirst) << "filling the boxes changes no other option";
    control<QCheckBox>("CkBxInJPGFirst")->setChecked(true);
    control<QCheckBox>("CkBxUseSPIPrev")->setChecked(true);
    control<QCheckBox>("CkBxOrientation")->setChecked(false);
    control<QCheckBox>("CkBxColorProfile")->setChecked(false);
    EXPECT_TRUE(loader.inJpgFirst);
    EXPECT_TRUE(loader.useSpiPrev);
    EXPECT_FALSE(loader.useOrientation);
    EXPECT_TRUE(hub().settings().loaderFlags.inJpgFirst);
    EXPECT_TRUE(hub().settings().loaderFlags.useSpiPrev);
    EXPECT_FALSE(hub().settings().loaderFlags.useOrientation);
    EXPECT_FALSE(loader.useColorProfile);
    EXPECT_FALSE(hub().settings().loaderFlags.useColorProfile);
}

// The box shows the side the loader uses; a stored number out of its range stays in the
// settings until the user picks another.
TEST_F(OptionsTest, LargestSideChangesAtOnceAndAStoredNumberStaysUntilChanged) {
    GraphicLoader& loader = hub().graphicLoader();
    hub().settings().loaderFlags.maxSide = 100000;
    loader.maxSide = kMaxSideLimit;
    openOptions();
    auto* box = control<QSpinBox>("SpEdMaxSide");
    EXPECT_EQ(box->value(), kMaxSideLimit);
    EXPECT_EQ(hub().settings().loaderFlags.maxSide, 100000);
    box->setValue(8192);
    EXPECT_EQ(loader.maxSide, 8192);
    EXPECT_EQ(hub().settings().loaderFlags.maxSide, 8192);
    box->setValue(100);
    EXPECT_EQ(loader.maxSide, kMinSideLimit);
    loader.maxSide = kMaxPictureSide;
}

// The background of transparent parts changes at once; a colour chosen also chooses the
// single colour, a cancelled choice changes nothing, and a stored kind the window does not
// know is kept until the user picks one.
TEST_F(OptionsTest, AlphaBackgroundChangesAtOnceAndIsKept) {
    LoaderFlags& flags = hub().settings().loaderFlags;
    GraphicLoader& loader = hub().graphicLoader();
    flags.alphaBackground = static_cast<AlphaBackgroundKind>(7);
    flags.alphaColor = 0x00FFFFFF;
    OptionsWindow& options = openOptions();
    EXPECT_TRUE(control<QRadioButton>("RdBtnAlphaChecker")->isChecked());
    EXPECT_EQ(static_cast<int>(flags.alphaBackground), 7);

    options.chooseColor = [](const QColor&) -> std::optional<QColor> { return std::nullopt; };
    control<QPushButton>("ButtonAlphaColor")->click();
    EXPECT_EQ(flags.alphaColor, 0x00FFFFFFu);
    EXPECT_EQ(static_cast<int>(flags.alphaBackground), 7);

    QColor offered;
    options.chooseColor = [&offered](const QColor& initial) -> std::optional<QColor> {
        offered = initial;
        return QColor(0x12, 0x34, 0x56);
    };
    control<QPushButton>("ButtonAlphaColor")->click();
    EXPECT_EQ(offered, QColor(Qt::white));
    EXPECT_TRUE(control<QRadioButton>("RdBtnAlphaColor")->isChecked());
    EXPECT_EQ(flags.alphaBackground, AlphaBackgroundKind::color);
    EXPECT_EQ(flags.alphaColor, 0x00563412u);
    EXPECT_EQ(loader.alphaBackground.kind, AlphaBackgroundKind::color);
    EXPECT_EQ(loader.alphaBackground.color, 0x00563412u);

    control<QRadioButton>("RdBtnAlphaChecker")->setChecked(true);
    EXPECT_EQ(flags.alphaBackground, AlphaBackgroundKind::checkerboard);
    EXPECT_EQ(loader.alphaBackground.kind, AlphaBackgroundKind::checkerboard);
    EXPECT_EQ(flags.alphaColor, 0x00563412u);
    flags.alphaColor = LoaderFlags{}.alphaColor;
    loader.alphaBackground = {};
}

// Plug-ins come from $SUSIE_PLUGIN_DIR, pointed at the folder the bundled ones are built in.
class OptionsPluginTest : public OptionsTest {
  protected:
    void SetUp() override {
        OptionsTest::SetUp();
        ::setenv("SUSIE_PLUGIN_DIR", RAVINEL_PLUGIN_DIR, 1);
        QImage picture(8, 6, QImage::Format_RGB32);
        picture.fill(Qt::red);
        pngPath_ = folder_.path("red.png");
        ASSERT_TRUE(picture.save(QString::fromStdString(pngPath_), "PNG"));
    }
    void TearDown() override { ::unsetenv("SUSIE_PLUGIN_DIR"); }

    bool pngOpens() {
        NkDib dib;
        GraphicLoadInfo info;
        hub().graphicLoader().loadFromFile(dib, pngPath_, false, info);
        return info.succeeded();
    }

  private:
    TempDir folder_;
    std::string pngPath_;
};

TEST_F(OptionsPluginTest, PluginPlacesReloadThePluginsAtOnce) {
    openOptions();
    auto* here = control<QCheckBox>("CkBxDirHere");
    auto* susie = control<QCheckBox>("CkBxDirSusie");
    auto* list = control<QTableWidget>("PluginList");
    here->setChecked(false);
    susie->setChecked(false);
    EXPECT_EQ(hub().spis().count(), 0);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_FALSE(pngOpens());
    EXPECT_EQ(hub().settings().spiSearchOptions, 0);

    susie->setChecked(true);
    ASSERT_GT(list->rowCount(), 0);
    EXPECT_EQ(list->rowCount(), hub().spis().count());
    EXPECT_EQ(hub().settings().spiSearchOptions, spsSusieDir);
    const QList<QTableWidgetItem*> png = list->findItems("ifpng.spi", Qt::MatchExactly);
    ASSERT_EQ(png.size(), 1);
    EXPECT_EQ(png.front()->column(), 0);
    EXPECT_TRUE(list->item(png.front()->row(), 1)->text().contains("*.png"));
    EXPECT_FALSE(list->item(png.front()->row(), 2)->text().isEmpty());
    EXPECT_TRUE(pngOpens());

    susie->setChecked(false);
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_FALSE(pngOpens());
}

TEST_F(OptionsPluginTest, ListShowsThePluginsLoadedWithoutReloading) {
    Spis& spis = hub().spis();
    spis.clear();
    spis.searchOptions = spsSusieDir;
    spis.search("*.spi");
    ASSERT_GT(spis.count(), 0);
    const Spi* first = &spis.item(0);
    openOptions();
    EXPECT_TRUE(control<QCheckBox>("CkBxDirSusie")->isChecked());
    EXPECT_FALSE(control<QCheckBox>("CkBxDirHere")->isChecked());
    EXPECT_EQ(control<QTableWidget>("PluginList")->rowCount(), spis.count());
    EXPECT_EQ(&spis.item(0), first) << "opening the window loads nothing anew";
}

}  // namespace
}  // namespace ravinel::testing
