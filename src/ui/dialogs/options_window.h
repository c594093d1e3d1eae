#pragma once

#include <QColor>
#include <QDialog>
#include <QFont>
#include <QImage>
#include <functional>
#include <optional>
#include <string>

#include "codec/graphic_loader.h"
#include "common/app_context.h"
#include "process/pipeline/g_process_settings.h"
#include "settings/settings_records.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace ravinel {

class ImgTnPanel;

// The modal options window. It edits copies of the context's settings records and writes
// them back when it closes, by its button, its close box or Escape alike: there is no
// cancel. The loader's and the plug-in host's options change at once. Every control
// carries the object name of its role ("TrkBarPW", "CkBxDirSusie", ...).
class OptionsWindow : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kPageCount = 6;

    explicit OptionsWindow(AppContext& context, QWidget* parent = nullptr);
    ~OptionsWindow() override;

    // The choosers behind the colour, font and folder buttons; an empty result is a
    // cancel. They start as the standard dialogs.
    std::function<std::optional<QColor>(const QColor& initial)> chooseColor;
    std::function<std::optional<QFont>(const QFont& initial)> chooseFont;
    std::function<std::optional<std::string>()> chooseFolder;

    ImgTnPanel* previewTile() const { return previewTile_; }
    QWidget* samplePanel() const { return panelBk_; }

    void done(int result) override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Building (options_pages.cpp).
    QWidget* createThumbPanelPage1();
    QWidget* createThumbPanelPage2();
    QWidget* createViewPage();
    QWidget* createSpiPage();
    QWidget* createEtcPage();
    QWidget* createVersionPage();

    // The cell of the sample on both thumbnail pages, kept at its size on each.
    void reserveSampleCell(QWidget* page) const;
    void placeSample(QWidget* page);
    void placeOnScreen();

    void formCreate();
    void formShow();
    void formClose();

    // Sample (options_preview.cpp).
    void updatePreview();
    QColor colorOf(Color value) const;
    void colorButtonClick(Color& field);
    void buttonFontClick();
    void buttonColOsClick();
    void styleBitClick(uint8_t bit, bool on);
    void pageConChange(int index);

    // Image window defaults (options_view.cpp).
    int ratePosition(double sizeRate) const;
    void sizeModeChange(int index);
    void fixedRateChange(int position);
    void fixedSizeChange(int position);

    // Plug-ins and the rest (options_spi.cpp).
    void searchPlacesClick();
    void fillPluginList();
    void bindLoaderFlag(QCheckBox* box, bool GraphicLoader::*option, bool LoaderFlags::*kept);
    void buttonVixClick();
    // What shows through pictures with alpha; changes at once, like the loader's options.
    void alphaBackgroundChange(AlphaBackgroundKind kind);
    void buttonAlphaColorClick();
    void showAlphaColor();

    AppContext& context_;
    ThumbPanel thumbPanel_;
    ThumbConf thumbConf_;
    GProcessSettings viewConf_;
    ViewFormConf viewForm_;
    int32_t preloadCount_ = 1;  // pictures an image window prepares ahead each way
    bool initializing_ = false;
    bool closed_ = false;
    QImage sampleBitmap_;

    QTabWidget* pageCon_ = nullptr;
    QPushButton* buttonOk_ = nullptr;
    QWidget* tabThumbPanel1_ = nullptr;
    QWidget* tabThumbPanel2_ = nullptr;
    QWidget* panelBk_ = nullptr;
    ImgTnPanel* previewTile_ = nullptr;

    QSlider* trkBarPw_ = nullptr;
    QSlider* trkBarPh_ = nullptr;
    QSlider* trkBarTs_ = nullptr;
    QSlider* trkBarTt_ = nullptr;
    QSlider* trkBarLt_ = nullptr;
    QLabel* labelPs_ = nullptr;
    QLabel* labelTs_ = nullptr;
    QLabel* labelTp_ = nullptr;
    QLabel* labelLp_ = nullptr;

    QCheckBox* ckBxNoBorder_ = nullptr;
    QCheckBox* ckBxNoLabel_ = nullptr;
    QCheckBox* ckBxSharedCache_ = nullptr;

    QComboBox* cmBxSizeMode_ = nullptr;
    QSlider* tbFixedRate_ = nullptr;
    QSlider* tbFixedSize_ = nullptr;
    QLabel* labelRate_ = nullptr;
    QLabel* labelSize_ = nullptr;
    QComboBox* cmBxPos_ = nullptr;
    QComboBox* cmBxColor_ = nullptr;
    QCheckBox* ckBxDither_ = nullptr;
    QComboBox* cmBxReductMode_ = nullptr;
    QComboBox* cmBxExpandMode_ = nullptr;
    QCheckBox* ckBxFrameless_ = nullptr;
    QCheckBox* ckBxWBuffer_ = nullptr;
    QCheckBox* ckBxPlayAnimation_ = nullptr;

    QTableWidget* pluginList_ = nullptr;
    QCheckBox* ckBxUseSpiPrev_ = nullptr;
    QCheckBox* ckBxDirHere_ = nullptr;
    QCheckBox* ckBxDirSusie_ = nullptr;

    QCheckBox* ckBxInJpgFirst_ = nullptr;
    QCheckBox* ckBxInBmpFirst_ = nullptr;
    QCheckBox* ckBxOrientation_ = nullptr;
    QCheckBox* ckBxColorProfile_ = nullptr;
    QCheckBox* ckBxArc_ = nullptr;
    QCheckBox* ckBxArcAutoClose_ = nullptr;
    QLineEdit* memoVixDir_ = nullptr;
    QSpinBox* spEdMaxSide_ = nullptr;
    QSpinBox* spEdPreload_ = nullptr;
    QRadioButton* rdBtnAlphaChecker_ = nullptr;
    QRadioButton* rdBtnAlphaColor_ = nullptr;
    QPushButton* buttonAlphaColor_ = nullptr;
    QComboBox* cmBxLanguage_ = nullptr;
};

}  // namespace ravinel
