// The six pages of the options window and their controls.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/img_tn_panel.h"
#include "common/program_icon.h"
#include "dialogs/options_window.h"
#include "settings/settings.h"
#include "settings/settings_limits.h"

namespace ravinel {

namespace {

// Vertical bars count downwards, as the positions they set do.
QSlider* makeSlider(QWidget* page, const char* name, Qt::Orientation orientation, int minimum,
                    int maximum) {
    auto* slider = new QSlider(orientation, page);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setInvertedAppearance(orientation == Qt::Vertical);
    return slider;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QComboBox* makeComboBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QLabel* makeLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

// The sample's background holds the largest tile (242 dots) with a margin; the bars that
// size the tile are as long as its sides.
constexpr int kSampleSide = 249;
constexpr int kSampleRow = 1;
// Between groups of buttons, in dots.
constexpr int kGroupGap = 10;

}  // namespace

QWidget* OptionsWindow::createThumbPanelPage1() {
    auto* page = new QWidget;
    page->setObjectName("TabThumbPanel1");
    auto* grid = new QGridLayout(page);
    trkBarPw_ = makeSlider(page, "TrkBarPW", Qt::Horizontal, 16, 242);
    panelBk_ = new QWidget(page);
    panelBk_->setObjectName("PanelBk");
    panelBk_->setFixedSize(kSampleSide, kSampleSide);
    panelBk_->setAutoFillBackground(true);
    trkBarPh_ = makeSlider(page, "TrkBarPH", Qt::Vertical, 16, 242);
    trkBarTt_ = makeSlider(page, "TrkBarTT", Qt::Vertical, 0, 240);
    trkBarLt_ = makeSlider(page, "TrkBarLT", Qt::Vertical, 0, 240);
    trkBarTs_ = makeSlider(page, "TrkBarTS", Qt::Horizontal, 16, 240);
    labelPs_ = makeLabel(page, "LabelPS");
    labelTs_ = makeLabel(page, "LabelTS");
    labelTp_ = makeLabel(page, "LabelTP");
    labelLp_ = makeLabel(page, "LabelLP");

    // The bars are as long as the sample is wide and high, whatever the texts beside them.
    for (QSlider* bar : {trkBarPw_, trkBarTs_}) {
        bar->setFixedWidth(kSampleSide);
    }
    auto* heights = new QHBoxLayout;
    for (QSlider* bar : {trkBarPh_, trkBarTt_, trkBarLt_}) {
        bar->setFixedHeight(kSampleSide);
        heights->addWidget(bar);
    }
    heights->addStretch();
    grid->addWidget(trkBarPw_, 0, 0, Qt::AlignLeft);
    reserveSampleCell(page);
    placeSample(page);
    grid->addLayout(heights, kSampleRow, 1);
    grid->addWidget(trkBarTs_, 2, 0, Qt::AlignLeft);
    grid->addWidget(labelTp_, 2, 1);
    grid->addWidget(labelPs_, 3, 0);
    grid->addWidget(labelLp_, 3, 1);
    grid->addWidget(labelTs_, 4, 0);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);

    const auto bind = [this](QSlider* slider, int32_t& field) {
        connect(slider, &QSlider::valueChanged, this, [this, &field](int value) {
            field = value;
            updatePreview();
        });
    };
    bind(trkBarPw_, thumbPanel_.panelW);
    bind(trkBarPh_, thumbPanel_.panelH);
    bind(trkBarTs_, thumbPanel_.imageSize);
    bind(trkBarTt_, thumbPanel_.imageTop);
    bind(trkBarLt_, thumbPanel_.labelTop);
    return page;
}

QWidget* OptionsWindow::createThumbPanelPage2() {
    auto* page = new QWidget;
    page->setObjectName("TabThumbPanel2");
    auto* grid = new QGridLayout(page);
    reserveSampleCell(page);
    // One column of buttons as wide as the widest.
    auto* column = new QVBoxLayout;
    const auto button = [page, column](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        column->addWidget(b);
        return b;
    };
    QPushButton* colP = button("ButtonColP", tr("パネルの色"));
    QPushButton* colBk = button("ButtonColBk", tr("パネル外部の色"));
    QPushButton* colL = button("ButtonColL", tr("ファイル名の色"));
    QPushButton* colLb = button("ButtonColLB", tr("ファイル名背景色"));
    QPushButton* fontL = button("ButtonFontL", tr("ファイル名フォント"));
    fontL->setToolTip(
        tr("※Windowsが日本語Charsetを使用している場合、強制的にCharsetを日本語に変更します"));
    column->addSpacing(kGroupGap);
    QPushButton* colOs = button("ButtonColOS", tr("全ての色をOSの色に戻す"));
    column->addSpacing(kGroupGap);
    ckBxNoBorder_ = makeCheckBox(page, "CkBxNoBorder", tr("パネル枠を非表示"));
    ckBxNoLabel_ = makeCheckBox(page, "CkBxNoLabel", tr("ファイル名を非表示"));
    ckBxSharedCache_ = makeCheckBox(page, "CkBxSharedCache", tr("共有サムネイルを使用"));
    ckBxSharedCache_->setToolTip(
        tr("他のアプリケーションと共通のサムネイル（~/.cache/thumbnails）を読み書きします"));
    for (QCheckBox* box : {ckBxNoBorder_, ckBxNoLabel_, ckBxSharedCache_}) {
        column->addWidget(box);
    }
    column->addStretch();
    grid->addLayout(column, 0, 1, kSampleRow + 2, 1);
    grid->setColumnStretch(2, 1);

    connect(colP, &QPushButton::clicked, this, [this] { colorButtonClick(thumbPanel_.panelCol); });
    connect(colBk, &QPushButton::clicked, this, [this] { colorButtonClick(thumbPanel_.pnlBkCol); });
    connect(colL, &QPushButton::clicked, this, [this] { colorButtonClick(thumbPanel_.lblTxCol); });
    connect(colLb, &QPushButton::clicked, this, [this] { colorButtonClick(thumbPanel_.lblBkCol); });
    connect(fontL, &QPushButton::clicked, this, &OptionsWindow::buttonFontClick);
    connect(colOs, &QPushButton::clicked, this, &OptionsWindow::buttonColOsClick);
    connect(ckBxNoBorder_, &QCheckBox::toggled, this,
            [this](bool on) { styleBitClick(ImgTnPanel::kNoBorder, on); });
    connect(ckBxNoLabel_, &QCheckBox::toggled, this,
            [this](bool on) { styleBitClick(ImgTnPanel::kNoLabel, on); });
    connect(ckBxSharedCache_, &QCheckBox::toggled, this,
            [this](bool on) { thumbConf_.useSharedCache = on; });
    return page;
}

// Both thumbnail pages keep the sample's cell and the row of the width bar above it, so the
// sample stays in place when it moves between them.
void OptionsWindow::reserveSampleCell(QWidget* page) const {
    auto* grid = qobject_cast<QGridLayout*>(page->layout());
    grid->setRowMinimumHeight(0, trkBarPw_->sizeHint().height());
    grid->setRowMinimumHeight(kSampleRow, kSampleSide);
    grid->setColumnMinimumWidth(0, kSampleSide);
}

void OptionsWindow::placeSample(QWidget* page) {
    qobject_cast<QGridLayout*>(page->layout())
        ->addWidget(panelBk_, kSampleRow, 0, Qt::AlignLeft | Qt::AlignTop);
}

QWidget* OptionsWindow::createViewPage() {
    auto* page = new QWidget;
    page->setObjectName("TabView");
    auto* form = new QFormLayout(page);
    cmBxSizeMode_ = makeComboBox(page, "CmBxSizeMode",
                                 {tr("オリジナルサイズモード"), tr("画面フィットモード"),
                                  tr("拡大率固定モード"), tr("長辺サイズ固定モード")});
    form->addRow(tr("表示サイズ"), cmBxSizeMode_);
    tbFixedRate_ = makeSlider(page, "TBFixedRate", Qt::Horizontal, 10, 500);
    labelRate_ = new QLabel(page);
    labelRate_->setObjectName("LabelRate");
    form->addRow(labelRate_);
    form->addRow(tbFixedRate_);
    tbFixedSize_ = makeSlider(page, "TBFixedSize", Qt::Horizontal, 4, 3600);
    labelSize_ = new QLabel(page);
    labelSize_->setObjectName("LabelSize");
    form->addRow(labelSize_);
    form->addRow(tbFixedSize_);
    cmBxPos_ = makeComboBox(page, "CmBxPos", {tr("左"), tr("中央"), tr("右")});
    form->addRow(tr("表示位置"), cmBxPos_);
    cmBxColor_ = makeComboBox(page, "CmBxColor",
                              {tr("フルカラー"), tr("8 bit ハーフトーン"), "8 bit", "4 bit",
                               tr("1 bit ハーフトーン白黒")});
    form->addRow(tr("色数"), cmBxColor_);
    ckBxDither_ =
        makeCheckBox(page, "CkBxDither", tr("16ビット画面で、フルカラー時にマッハバンドを軽減"));
    form->addRow(ckBxDither_);
    cmBxReductMode_ = makeComboBox(page, "CmBxReductMode",
                                   {"StretchDraw", "StretchBlt HalfTone", tr("面積平均")});
    form->addRow(tr("縮小"), cmBxReductMode_);
    cmBxExpandMode_ = makeComboBox(page, "CmBxExpandMode",
                                   {"StretchDraw", "StretchBlt HalfTone", tr("面積拡大")});
    form->addRow(tr("拡大"), cmBxExpandMode_);
    ckBxFrameless_ = makeCheckBox(page, "CkBxFrameless", tr("ウィンドウ枠を非表示"));
    form->addRow(ckBxFrameless_);
    ckBxWBuffer_ = makeCheckBox(page, "CkBxWBuffer", tr("ダブルバッファリング"));
    ckBxWBuffer_->setToolTip(tr("メモリ使用量が増えるが、ちらつきが軽減されるかも"));
    form->addRow(ckBxWBuffer_);
    ckBxPlayAnimation_ =
        makeCheckBox(page, "CkBxPlayAnimation", tr("アニメーション画像を開いたら再生する"));
    form->addRow(ckBxPlayAnimation_);
    spEdPreload_ = new QSpinBox(page);
    spEdPreload_->setObjectName("SpEdPreload");
    spEdPreload_->setRange(0, kMaxPreloadCount);
    spEdPreload_->setToolTip(
        tr("表示中の画像の前後の画像をあらかじめ読み込んでおく。0 で先読みしない"));
    form->addRow(tr("先読みする画像の数（前後それぞれ）"), spEdPreload_);

    // A box without a selection (a stored value out of range) leaves its field alone.
    const auto bindIndex = [this]<typename Field>(QComboBox* box, Field& field) {
        connect(box, &QComboBox::currentIndexChanged, this, [&field](int index) {
            if (index >= 0) {
                field = static_cast<Field>(index);
            }
        });
    };
    connect(cmBxSizeMode_, &QComboBox::currentIndexChanged, this, &OptionsWindow::sizeModeChange);
    connect(tbFixedRate_, &QSlider::valueChanged, this, &OptionsWindow::fixedRateChange);
    connect(tbFixedSize_, &QSlider::valueChanged, this, &OptionsWindow::fixedSizeChange);
    bindIndex(cmBxPos_, viewForm_.posMode);
    bindIndex(cmBxColor_, viewConf_.colorMode);
    bindIndex(cmBxReductMode_, viewConf_.reductMode);
    bindIndex(cmBxExpandMode_, viewConf_.expandMode);
    connect(ckBxDither_, &QCheckBox::toggled, this, [this](bool on) { viewConf_.dither = on; });
    connect(ckBxFrameless_, &QCheckBox::toggled, this,
            [this](bool on) { viewForm_.frameless = on; });
    connect(ckBxWBuffer_, &QCheckBox::toggled, this, [this](bool on) { viewForm_.wBuffer = on; });
    connect(ckBxPlayAnimation_, &QCheckBox::toggled, this,
            [this](bool on) { viewForm_.playAnimation = on; });
    // Showing the stored number writes nothing: one outside the range stays until changed.
    connect(spEdPreload_, &QSpinBox::valueChanged, this, [this](int count) {
        if (!initializing_) {
            preloadCount_ = count;
        }
    });
    return page;
}

QWidget* OptionsWindow::createSpiPage() {
    auto* page = new QWidget;
    page->setObjectName("TabSPI");
    auto* column = new QVBoxLayout(page);
    column->addWidget(new QLabel(tr("使用中の Susieプラグイン"), page));
    pluginList_ = new QTableWidget(0, 3, page);
    pluginList_->setObjectName("PluginList");
    pluginList_->setHorizontalHeaderLabels(
        {tr("プラグイン名"), tr("対応拡張子"), tr("プラグイン説明")});
    pluginList_->verticalHeader()->hide();
    pluginList_->horizontalHeader()->setSectionsClickable(false);
    pluginList_->setShowGrid(true);
    pluginList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    pluginList_->setSelectionMode(QAbstractItemView::SingleSelection);
    pluginList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    pluginList_->setFocusPolicy(Qt::NoFocus);
    column->addWidget(pluginList_);
    ckBxUseSpiPrev_ =
        makeCheckBox(page, "CkBxUseSPIPrev", tr("プラグインのプレビュー機能をできるだけ使用"));
    column->addWidget(ckBxUseSpiPrev_);
    column->addWidget(new QLabel(tr("使用する Susieプラグイン"), page));
    ckBxDirHere_ =
        makeCheckBox(page, "CkBxDirHere", tr("この実行ファイルのあるフォルダのプラグイン"));
    ckBxDirSusie_ = makeCheckBox(page, "CkBxDirSusie", tr("Susie のあるフォルダのプラグイン"));
    column->addWidget(ckBxDirHere_);
    column->addWidget(ckBxDirSusie_);

    bindLoaderFlag(ckBxUseSpiPrev_, &GraphicLoader::useSpiPrev, &LoaderFlags::useSpiPrev);
    connect(ckBxDirHere_, &QCheckBox::toggled, this, &OptionsWindow::searchPlacesClick);
    connect(ckBxDirSusie_, &QCheckBox::toggled, this, &OptionsWindow::searchPlacesClick);
    return page;
}

QWidget* OptionsWindow::createEtcPage() {
    auto* page = new QWidget;
    page->setObjectName("TabEtc");
    auto* column = new QVBoxLayout(page);

    auto* first = new QGroupBox(tr("Susieプラグインより内蔵ローダを優先する画像の種類"), page);
    auto* firstRow = new QHBoxLayout(first);
    ckBxInJpgFirst_ = makeCheckBox(first, "CkBxInJPGFirst", "JPEG");
    ckBxInBmpFirst_ = makeCheckBox(first, "CkBxInBMPFirst", "BMP");
    firstRow->addWidget(ckBxInJpgFirst_);
    firstRow->addWidget(ckBxInBmpFirst_);
    firstRow->addStretch();
    column->addWidget(first);
    ckBxOrientation_ = makeCheckBox(page, "CkBxOrientation",
                                    tr("Exif の回転情報に従って画像を正しい向きで表示する"));
    column->addWidget(ckBxOrientation_);
    ckBxColorProfile_ = makeCheckBox(page, "CkBxColorProfile",
                                     tr("画像に埋め込まれたカラープロファイルで色を合わせる"));
    column->addWidget(ckBxColorProfile_);

    auto* archives = new QGroupBox(tr("圧縮ファイル対応"), page);
    auto* archiveColumn = new QVBoxLayout(archives);
    ckBxArc_ = makeCheckBox(archives, "CkBxArc", tr("圧縮ファイルを開く"));
    ckBxArcAutoClose_ = makeCheckBox(archives, "CkBxArcAutoClose",
                                     tr("画像を表示したら圧縮ファイルリストウィンドウを閉じる"));
    archiveColumn->addWidget(ckBxArc_);
    archiveColumn->addWidget(ckBxArcAutoClose_);
    column->addWidget(archives);

    auto* vix = new QGroupBox(tr("ViXのホームフォルダのパス"), page);
    auto* vixRow = new QHBoxLayout(vix);
    memoVixDir_ = new QLineEdit(vix);
    memoVixDir_->setObjectName("MemoViXDir");
    auto* buttonVix = new QPushButton("...", vix);
    buttonVix->setObjectName("ButtonViX");
    // A narrow button: its text and a margin of its own height.
    buttonVix->setFixedWidth(buttonVix->fontMetrics().horizontalAdvance(buttonVix->text()) +
                             buttonVix->sizeHint().height());
    vixRow->addWidget(memoVixDir_);
    vixRow->addWidget(buttonVix);
    column->addWidget(vix);

    auto* large = new QGroupBox(tr("大きな画像"), page);
    auto* largeRow = new QHBoxLayout(large);
    largeRow->addWidget(new QLabel(tr("画像の長辺の上限（ドット）"), large));
    spEdMaxSide_ = new QSpinBox(large);
    spEdMaxSide_->setObjectName("SpEdMaxSide");
    spEdMaxSide_->setRange(kMinSideLimit, kMaxSideLimit);
    spEdMaxSide_->setToolTip(tr("これより大きな画像は開かない。読み込みのメモリ上限は変わらない"));
    largeRow->addWidget(spEdMaxSide_);
    largeRow->addStretch();
    column->addWidget(large);

    auto* alpha = new QGroupBox(tr("透明部分の背景"), page);
    auto* alphaRow = new QHBoxLayout(alpha);
    rdBtnAlphaChecker_ = new QRadioButton(tr("市松模様"), alpha);
    rdBtnAlphaChecker_->setObjectName("RdBtnAlphaChecker");
    rdBtnAlphaColor_ = new QRadioButton(tr("単色"), alpha);
    rdBtnAlphaColor_->setObjectName("RdBtnAlphaColor");
    buttonAlphaColor_ = new QPushButton(tr("色の選択..."), alpha);
    buttonAlphaColor_->setObjectName("ButtonAlphaColor");
    alphaRow->addWidget(rdBtnAlphaChecker_);
    alphaRow->addWidget(rdBtnAlphaColor_);
    alphaRow->addWidget(buttonAlphaColor_);
    alphaRow->addStretch();
    column->addWidget(alpha);

    // The settings keep "ja", "en", or nothing for the locale; RAVINEL_LANG overrides them.
    auto* language = new QGroupBox(tr("表示言語"), page);
    auto* languageRow = new QHBoxLayout(language);
    cmBxLanguage_ = new QComboBox(language);
    cmBxLanguage_->setObjectName("CmBxLanguage");
    cmBxLanguage_->addItem(tr("ロケールに従う"), QString());
    cmBxLanguage_->addItem(tr("日本語"), QStringLiteral("ja"));
    cmBxLanguage_->addItem(QStringLiteral("English"), QStringLiteral("en"));
    cmBxLanguage_->setToolTip(tr("次回の起動から有効になります"));
    languageRow->addWidget(cmBxLanguage_);
    languageRow->addStretch();
    column->addWidget(language);
    column->addStretch();

    bindLoaderFlag(ckBxInJpgFirst_, &GraphicLoader::inJpgFirst, &LoaderFlags::inJpgFirst);
    bindLoaderFlag(ckBxInBmpFirst_, &GraphicLoader::inBmpFirst, &LoaderFlags::inBmpFirst);
    bindLoaderFlag(ckBxOrientation_, &GraphicLoader::useOrientation, &LoaderFlags::useOrientation);
    bindLoaderFlag(ckBxColorProfile_, &GraphicLoader::useColorProfile,
                   &LoaderFlags::useColorProfile);
    connect(ckBxArc_, &QCheckBox::toggled, this, [this](bool on) { thumbConf_.openArc = on; });
    connect(ckBxArcAutoClose_, &QCheckBox::toggled, this,
            [this](bool on) { thumbConf_.closeArcList = on; });
    connect(buttonVix, &QPushButton::clicked, this, &OptionsWindow::buttonVixClick);
    connect(rdBtnAlphaColor_, &QRadioButton::toggled, this, [this](bool on) {
        if (!initializing_) {
            alphaBackgroundChange(on ? AlphaBackgroundKind::color
                                     : AlphaBackgroundKind::checkerboard);
        }
    });
    connect(buttonAlphaColor_, &QPushButton::clicked, this, &OptionsWindow::buttonAlphaColorClick);
    // Like the loader flags it changes at once; showing the stored value writes nothing.
    connect(spEdMaxSide_, &QSpinBox::valueChanged, this, [this](int side) {
        if (!initializing_) {
            context_.graphicLoader().maxSide = side;
            context_.settings().loaderFlags.maxSide = side;
        }
    });
    connect(cmBxLanguage_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!initializing_) {
            context_.settings().uiLanguage =
                cmBxLanguage_->itemData(index).toString().toStdString();
        }
    });
    return page;
}

QWidget* OptionsWindow::createVersionPage() {
    auto* page = new QWidget;
    page->setObjectName("TabVersion");
    auto* column = new QVBoxLayout(page);
    column->addStretch();
    auto* icon = new QLabel(page);
    icon->setPixmap(programIcon().pixmap(64, 64));
    icon->setAlignment(Qt::AlignCenter);
    column->addWidget(icon);
    auto* name = new QLabel("Ravinel", page);
    QFont nameFont = name->font();
    if (nameFont.pointSizeF() > 0) {
        nameFont.setPointSizeF(nameFont.pointSizeF() * 2);
    }
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setAlignment(Qt::AlignCenter);
    column->addWidget(name);
    auto* version = new QLabel("Version " RAVINEL_VERSION, page);
    version->setObjectName("LabelVersion");
    version->setAlignment(Qt::AlignCenter);
    column->addWidget(version);
    column->addStretch();
    return page;
}

}  // namespace ravinel
