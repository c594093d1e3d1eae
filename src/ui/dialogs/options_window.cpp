#include "dialogs/options_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/img_tn_panel.h"
#include "common/window_on_monitor.h"
#include "dialogs/folder_dialog.h"
#include "dialogs/folder_text.h"
#include "plugin_host/spis.h"
#include "settings/settings.h"
#include "settings/settings_limits.h"

namespace ravinel {

OptionsWindow::OptionsWindow(AppContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      context_(context) {
    chooseColor = [this](const QColor& initial) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(initial, this);
        return chosen.isValid() ? std::optional<QColor>(chosen) : std::nullopt;
    };
    chooseFont = [this](const QFont& initial) -> std::optional<QFont> {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, this);
        return ok ? std::optional<QFont>(chosen) : std::nullopt;
    };
    chooseFolder = [this]() -> std::optional<std::string> {
        FolderDialog dialog;
        if (!dialog.execute(this)) {
            return std::nullopt;
        }
        return dialog.folderPath;
    };
    formCreate();
    formShow();
    // Sized to the texts and values the controls now show.
    placeOnScreen();
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::formCreate() {
    setWindowTitle(tr("オプション設定"));
    setModal(true);
    // The status bar's font, as the window's text is set in it.
    setFont(QApplication::font("QStatusBar"));
    setSizeGripEnabled(true);

    const Settings& settings = context_.settings();
    thumbPanel_ = settings.thumbPanel;
    thumbConf_ = settings.thumbConf;
    viewConf_ = settings.viewConf;
    viewForm_ = settings.viewForm;
    preloadCount_ = settings.preloadCount;

    pageCon_ = new QTabWidget(this);
    pageCon_->setObjectName("PageCon");
    // Every page is one click away: no scroll arrows and no shortened titles, so the window
    // is never narrower than its tabs.
    pageCon_->setUsesScrollButtons(false);
    pageCon_->setElideMode(Qt::ElideNone);
    tabThumbPanel1_ = createThumbPanelPage1();
    tabThumbPanel2_ = createThumbPanelPage2();
    pageCon_->addTab(tabThumbPanel1_, tr("サムネイル1"));
    pageCon_->addTab(tabThumbPanel2_, tr("サムネイル2"));
    pageCon_->addTab(createViewPage(), tr("画像ウィンドウ"));
    pageCon_->addTab(createSpiPage(), "SPI");
    pageCon_->addTab(createEtcPage(), tr("その他"));
    pageCon_->addTab(createVersionPage(), tr("バージョン"));

    buttonOk_ = new QPushButton(tr("閉じる"), this);
    buttonOk_->setObjectName("ButtonOK");
    buttonOk_->setDefault(true);
    connect(buttonOk_, &QPushButton::clicked, this, &QWidget::close);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(buttonOk_);
    auto* column = new QVBoxLayout(this);
    column->addWidget(pageCon_);
    column->addLayout(buttonRow);

    previewTile_ = new ImgTnPanel(panelBk_, thumbPanel_.style);
    previewTile_->move(0, 0);
    // A white square stands in for a thumbnail.
    sampleBitmap_ = QImage(256, 256, QImage::Format_RGB32);
    sampleBitmap_.fill(Qt::white);

    int32_t& page = context_.settings().selectPage;
    if (page < 0 || page >= kPageCount) {
        page = kPageCount - 1;
    }
    pageCon_->setCurrentIndex(page);
    pageConChange(page);
    connect(pageCon_, &QTabWidget::currentChanged, this, &OptionsWindow::pageConChange);
}

// At the size its contents ask for, in the middle of the work area and never larger.
void OptionsWindow::placeOnScreen() {
    QRect bounds(QPoint(0, 0), sizeHint().expandedTo(minimumSizeHint()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        bounds.moveCenter(area.center());
        bounds = shrunkToWorkArea(bounds, area);
    }
    resize(bounds.size());
    move(bounds.topLeft());
}

// Setting the controls runs their change handlers, which store the same values into the
// copies (clamped to the controls' ranges) and refresh the sample.
void OptionsWindow::formShow() {
    ckBxNoBorder_->setChecked((thumbPanel_.style & ImgTnPanel::kNoBorder) != 0);
    ckBxNoLabel_->setChecked((thumbPanel_.style & ImgTnPanel::kNoLabel) != 0);
    // A bar already at the clamped value reports no change: the copy takes it here.
    const auto fill = [](QSlider* bar, int32_t& field) {
        bar->setValue(field);
        field = bar->value();
    };
    fill(trkBarPw_, thumbPanel_.panelW);
    fill(trkBarPh_, thumbPanel_.panelH);
    fill(trkBarTs_, thumbPanel_.imageSize);
    fill(trkBarTt_, thumbPanel_.imageTop);
    fill(trkBarLt_, thumbPanel_.labelTop);

    cmBxColor_->setCurrentIndex(modeIndex(viewConf_.colorMode));
    cmBxReductMode_->setCurrentIndex(modeIndex(viewConf_.reductMode));
    cmBxExpandMode_->setCurrentIndex(modeIndex(viewConf_.expandMode));
    ckBxDither_->setChecked(viewConf_.dither);
    cmBxSizeMode_->setCurrentIndex(modeIndex(viewForm_.sizeMode));
    sizeModeChange(modeIndex(viewForm_.sizeMode));

    tbFixedRate_->setValue(ratePosition(viewForm_.sizeRate));
    fixedRateChange(tbFixedRate_->value());
    labelRate_->setText(tr("現在の設定倍率（パーセント） : %1").arg(tbFixedRate_->value()));
    tbFixedSize_->setValue(viewForm_.sizeFixed);
    fixedSizeChange(tbFixedSize_->value());
    labelSize_->setText(tr("現在の設定サイズ（ドット） : %1").arg(tbFixedSize_->value()));

    cmBxPos_->setCurrentIndex(modeIndex(viewForm_.posMode));
    ckBxWBuffer_->setChecked(viewForm_.wBuffer);
    ckBxFrameless_->setChecked(viewForm_.frameless);
    ckBxPlayAnimation_->setChecked(viewForm_.playAnimation);
    ckBxArc_->setChecked(thumbConf_.openArc);
    ckBxSharedCache_->setChecked(thumbConf_.useSharedCache);
    ckBxArcAutoClose_->setChecked(thumbConf_.closeArcList);
    memoVixDir_->setText(QString::fromStdString(thumbConf_.vixHomeDir));

    const GraphicLoader& loader = context_.graphicLoader();
    ckBxUseSpiPrev_->setChecked(loader.useSpiPrev);
    ckBxInBmpFirst_->setChecked(loader.inBmpFirst);
    ckBxInJpgFirst_->setChecked(loader.inJpgFirst);
    ckBxOrientation_->setChecked(loader.useOrientation);
    ckBxColorProfile_->setChecked(loader.useColorProfile);

    initializing_ = true;
    spEdMaxSide_->setValue(loader.maxSide);
    spEdPreload_->setValue(preloadCountLimit(preloadCount_));
    const LoaderFlags& flags = context_.settings().loaderFlags;
    // A stored number outside the kinds stays until the user chooses.
    (flags.alphaBackground == AlphaBackgroundKind::color ? rdBtnAlphaColor_ : rdBtnAlphaChecker_)
        ->setChecked(true);
    showAlphaColor();
    // A stored value other than "ja" and "en" shows as the locale's and stays until chosen.
    cmBxLanguage_->setCurrentIndex(std::max(
        0, cmBxLanguage_->findData(QString::fromStdString(context_.settings().uiLanguage))));
    const uint8_t places = context_.spis().searchOptions;
    ckBxDirHere_->setChecked((places & spsAppDir) != 0);
    ckBxDirSusie_->setChecked((places & spsSusieDir) != 0);
    fillPluginList();
    initializing_ = false;
    updatePreview();
}

void OptionsWindow::done(int result) {
    formClose();
    QDialog::done(result);
}

// A close while the window is not shown does not pass through done().
void OptionsWindow::closeEvent(QCloseEvent* event) {
    formClose();
    QDialog::closeEvent(event);
}

void OptionsWindow::formClose() {
    if (closed_) {
        return;
    }
    closed_ = true;
    Settings& settings = context_.settings();
    settings.viewConf = viewConf_;
    settings.thumbPanel = thumbPanel_;
    settings.viewForm = viewForm_;
    settings.preloadCount = preloadCount_;
    thumbConf_.vixHomeDir = folderWithSlash(memoVixDir_->text().toStdString());
    settings.thumbConf = thumbConf_;
    settings.selectPage = pageCon_->currentIndex();
}

// Both thumbnail pages show the same sample: it moves to the page being shown, into the
// cell both pages keep for it.
void OptionsWindow::pageConChange(int index) {
    QWidget* page = index == 0 ? tabThumbPanel1_ : tabThumbPanel2_;
    if (panelBk_->parentWidget() != page) {
        panelBk_->parentWidget()->layout()->removeWidget(panelBk_);
        placeSample(page);
        panelBk_->show();
    }
}

}  // namespace ravinel
