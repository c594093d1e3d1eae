// The image window defaults of the options window: size mode and its two track bars.
#include <QLabel>
#include <QSlider>
#include <cmath>

#include "dialogs/options_window.h"

namespace ravinel {

// A stored rate of any value, even not a number, lands inside the bar's range.
int OptionsWindow::ratePosition(double sizeRate) const {
    const double percent = std::floor(sizeRate * 100 + 0.5);
    if (!(percent >= tbFixedRate_->minimum())) {
        return tbFixedRate_->minimum();
    }
    return percent > tbFixedRate_->maximum() ? tbFixedRate_->maximum() : static_cast<int>(percent);
}

void OptionsWindow::sizeModeChange(int index) {
    if (index >= 0) {
        viewForm_.sizeMode = modeOfIndex<SizeMode>(static_cast<uint8_t>(index));
    }
    const bool fixedRate = index == 2;
    const bool fixedSize = index == 3;
    tbFixedRate_->setEnabled(fixedRate);
    tbFixedRate_->setVisible(fixedRate);
    tbFixedSize_->setEnabled(fixedSize);
    tbFixedSize_->setVisible(fixedSize);
}

void OptionsWindow::fixedRateChange(int position) {
    viewForm_.sizeRate = position / 100.0;
    labelRate_->setText(tr("現在の倍率（パーセント） : %1").arg(position));
}

void OptionsWindow::fixedSizeChange(int position) {
    viewForm_.sizeFixed = static_cast<uint16_t>(position);
    labelSize_->setText(tr("現在のサイズ（ドット） : %1").arg(position));
}

}  // namespace ravinel
