#include "common/settings_color.h"

namespace ravinel {

namespace {

constexpr Color kSystemColorFlag = 0x80000000;
constexpr Color kColorNone = 0x1FFFFFFF;
constexpr Color kColorDefault = 0x20000000;

// The palette role that plays the part of each system colour index of the settings file.
QPalette::ColorRole roleOfSystemColor(uint32_t index) {
    switch (index) {
        case 5:   // window
        case 4:   // menu
        case 30:  // menu bar
            return QPalette::Base;
        case 8:  // window text
        case 7:  // menu text
            return QPalette::Text;
        case 13:  // highlight
        case 29:  // menu highlight
        case 2:   // active caption
        case 27:  // active caption gradient
            return QPalette::Highlight;
        case 14:  // highlight text
        case 9:   // caption text
            return QPalette::HighlightedText;
        case 18:  // button text
            return QPalette::ButtonText;
        case 16:  // button shadow
            return QPalette::Mid;
        case 20:  // button highlight
            return QPalette::Light;
        case 21:  // 3D dark shadow
        case 6:   // window frame
            return QPalette::Shadow;
        case 22:  // 3D light
            return QPalette::Midlight;
        case 17:  // gray text
        case 19:  // inactive caption text
            return QPalette::PlaceholderText;
        case 23:  // tooltip text
            return QPalette::ToolTipText;
        case 24:  // tooltip background
            return QPalette::ToolTipBase;
        case 26:  // hot-tracked item
            return QPalette::Link;
        case 1:   // desktop
        case 12:  // application workspace
        case 3:   // inactive caption
        case 28:  // inactive caption gradient
            return QPalette::Dark;
        default:  // button face, borders, scroll bar and unknown indices
            return QPalette::Button;
    }
}

}  // namespace

QColor settingsColor(Color value, const QPalette& palette) {
    if (value == kColorNone) {
        return QColor(Qt::transparent);
    }
    if (value == kColorDefault) {
        return palette.color(QPalette::Window);
    }
    if ((value & kSystemColorFlag) != 0) {
        return palette.color(roleOfSystemColor(value & 0xFF));
    }
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

Color settingsColorOf(const QColor& color) {
    return static_cast<Color>(color.red()) | static_cast<Color>(color.green()) << 8 |
           static_cast<Color>(color.blue()) << 16;
}

AlphaBackground alphaBackgroundOf(const LoaderFlags& flags, const QPalette& palette) {
    return {flags.alphaBackground, settingsColorOf(settingsColor(flags.alphaColor, palette))};
}

}  // namespace ravinel
