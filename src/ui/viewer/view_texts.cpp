#include "viewer/view_texts.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>
#include <string>

namespace ravinel {

namespace {

// The context of the information submenu's captions in the translations.
struct InfoTexts {
    Q_DECLARE_TR_FUNCTIONS(InfoTexts)
};

// The rate is written with five significant digits and two decimals: a rate of 1000 %
// or more loses decimals to the five digits (14271.43 is written 14271.00).
constexpr int kSignificantDigits = 5;
constexpr int kDecimals = 2;

int64_t power10(int exponent) {
    int64_t p = 1;
    for (int i = 0; i < exponent; ++i) {
        p *= 10;
    }
    return p;
}

int digitCount(int64_t value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

// numerator / denominator rounded to unit, halves up; all values positive.
int64_t roundToUnit(int64_t numerator, int64_t denominator, int64_t unit) {
    return (2 * numerator + denominator * unit) / (2 * denominator * unit) * unit;
}

}  // namespace

// Integer arithmetic keeps the rounding exact: a quotient that is exactly half way (12.5 %
// is 1 / 8) goes up, which floating-point text conversion would not promise.
std::string rateText(int32_t destHeight, int32_t sourceHeight) {
    if (sourceHeight <= 0 || destHeight <= 0) {
        return "0.00";
    }
    const int64_t hundredthsNumerator = int64_t{destHeight} * 100 * power10(kDecimals);
    const int64_t wholePercent = int64_t{destHeight} * 100 / sourceHeight;
    const int droppedDecimals =
        std::max(0, digitCount(wholePercent) + kDecimals - kSignificantDigits);
    const int64_t hundredths =
        roundToUnit(hundredthsNumerator, sourceHeight, power10(droppedDecimals));
    const int64_t scale = power10(kDecimals);
    std::string fraction = std::to_string(hundredths % scale);
    fraction.insert(0, static_cast<size_t>(kDecimals) - fraction.size(), '0');
    return std::to_string(hundredths / scale) + "." + fraction;
}

std::string titleText(const std::string& fileName, int32_t fileIndex, int32_t lastIndex,
                      const std::string& rate) {
    return fileName + " [" + std::to_string(int64_t{fileIndex} + 1) + "/" +
           std::to_string(int64_t{lastIndex} + 1) + "] " + rate + "% ";
}

std::string timeText(uint32_t milliseconds) {
    // Zero means nothing was measured since the last title, not an instant load.
    return milliseconds == 0 ? "－" : std::to_string(milliseconds) + " ms";
}

std::vector<InfoEntry> infoEntries(const InfoState& state) {
    const GraphicLoadInfo& info = state.loadInfo;
    InfoEntry path;
    if (state.archiveSource) {
        path = {false, InfoTexts::tr("圧縮ファイルのパス").toStdString(), state.archiveName, false};
    } else {
        path = {false, InfoTexts::tr("フルパス\t(クリックでパスをコピー)").toStdString(),
                state.fullPath, true};
    }
    const InfoEntry separator{true, "", "", false};
    auto line = [](const QString& caption, const std::string& value) {
        return InfoEntry{false, caption.toStdString() + "\t" + value, "", false};
    };
    std::vector<InfoEntry> entries = {
        line(InfoTexts::tr("ファイル名"), state.fileName),
        path,
        line(InfoTexts::tr("画像ビット数"), pixelFormatLabel(info.pixelFormat) + " bit"),
        line(InfoTexts::tr("画像サイズ"),
             std::to_string(info.width) + " x " + std::to_string(info.height)),
    };
    if (state.frameCount > 1) {
        entries.push_back(line(InfoTexts::tr("フレーム数"), std::to_string(state.frameCount)));
    }
    entries.insert(entries.end(),
                   {
                       separator,
                       line(InfoTexts::tr("拡大縮小率"), state.rateText + "%"),
                       line(InfoTexts::tr("表示ビット数"), state.colorModeName + " bit"),
                       line(InfoTexts::tr("表示サイズ"), std::to_string(state.destWidth) + " x " +
                                                             std::to_string(state.destHeight)),
                       separator,
                       line(InfoTexts::tr("読込処理"), state.loadTimeText),
                       line(InfoTexts::tr("表示処理"), state.showTimeText),
                   });
    return entries;
}

}  // namespace ravinel
