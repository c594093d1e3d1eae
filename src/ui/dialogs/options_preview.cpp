// The sample tile of the options window and the controls of the tile look.
#include <QCheckBox>
#include <QLabel>
#include <QPalette>
#include <algorithm>

#include "common/img_tn_panel.h"
#include "common/settings_color.h"
#include "dialogs/options_window.h"
#include "settings/color_names.h"
#include "settings/settings_limits.h"

namespace ravinel {

namespace {

// A chosen colour as the settings keep it: 0x00BBGGRR.
Color settingsValue(const QColor& color) {
    return static_cast<Color>(color.red()) | static_cast<Color>(color.green()) << 8 |
           static_cast<Color>(color.blue()) << 16;
}

}  // namespace

QColor OptionsWindow::colorOf(Color value) const {
    return settingsColor(value, palette());
}

void OptionsWindow::updatePreview() {
    // Drawn as the browser draws it.
    const ThumbPanel look = drawableThumbPanel(thumbPanel_);
    QPalette background = panelBk_->palette();
    background.setColor(QPalette::Window, colorOf(look.pnlBkCol));
    panelBk_->setPalette(background);

    previewTile_->setStyle(look.style);
    previewTile_->resize(look.panelW, look.panelH);
    previewTile_->setTileColor(colorOf(look.panelCol));
    previewTile_->setLabelColors(colorOf(look.lblBkCol), colorOf(look.lblTxCol),
                                 colorOf(look.lblBkSelCol), colorOf(look.lblTxSelCol));
    previewTile_->setLabelFont(look.labelFont, look.labelFSize, look.labelStyle);
    previewTile_->setLabelTop(look.labelTop);
    previewTile_->setLabelText(tr("ファイル名 FileName"));
    previewTile_->setImage(
        QRect((look.panelW - look.imageSize) / 2, look.imageTop, look.imageSize, look.imageSize),
        sampleBitmap_);
    previewTile_->update();

    labelPs_->setText(tr("パネルのサイズ : %1x%2").arg(look.panelW).arg(look.panelH));
    labelTs_->setText(tr("サムネイルのサイズ : %1x%1").arg(look.imageSize));
    labelTp_->setText(tr("↓サムネイルの縦位置 : %1").arg(look.imageTop));
    labelLp_->setText(tr("ファイル名の縦位置↑ : %1").arg(look.labelTop));
}

void OptionsWindow::colorButtonClick(Color& field) {
    const std::optional<QColor> chosen = chooseColor(colorOf(field));
    if (!chosen || !chosen->isValid()) {
        return;
    }
    field = settingsValue(*chosen);
    updatePreview();
}

// Fonts here carry no character set: the stored one travels through unchanged.
void OptionsWindow::buttonFontClick() {
    ThumbPanel& look = thumbPanel_;
    QFont initial;
    if (look.labelFSize > 0) {
        initial.setPointSize(std::min(look.labelFSize, kMaxLabelPointSize));
    }
    initial.setBold((look.labelStyle & 1) != 0);
    initial.setItalic((look.labelStyle & 2) != 0);
    initial.setUnderline((look.labelStyle & 4) != 0);
    initial.setStrikeOut((look.labelStyle & 8) != 0);
    initial.setFamily(QString::fromStdString(look.labelFont));
    const std::optional<QFont> chosen = chooseFont(initial);
    if (!chosen) {
        return;
    }
    // A font sized in pixels has no point size; the old size stays then.
    if (chosen->pointSize() > 0) {
        look.labelFSize = chosen->pointSize();
    }
    look.labelStyle =
        static_cast<uint8_t>((chosen->bold() ? 1 : 0) | (chosen->italic() ? 2 : 0) |
                             (chosen->underline() ? 4 : 0) | (chosen->strikeOut() ? 8 : 0));
    look.labelFont = chosen->family().toStdString();
    updatePreview();
}

// The selected-label colours have no control and keep their values.
void OptionsWindow::buttonColOsClick() {
    thumbPanel_.panelCol = *colorFromName("clBtnFace");
    thumbPanel_.pnlBkCol = *colorFromName("clBtnFace");
    thumbPanel_.lblTxCol = *colorFromName("clWindowText");
    thumbPanel_.lblBkCol = *colorFromName("clWindow");
    updatePreview();
}

void OptionsWindow::styleBitClick(uint8_t bit, bool on) {
    thumbPanel_.style =
        static_cast<uint8_t>(on ? thumbPanel_.style | bit : thumbPanel_.style & ~bit);
    updatePreview();
}

}  // namespace ravinel
