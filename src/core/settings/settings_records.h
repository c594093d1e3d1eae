#pragma once

#include <cstdint>
#include <string>

#include "browse/sort_mode.h"
#include "codec/decode_limits.h"
#include "dib/alpha_composite.h"
#include "process/pipeline/g_process_settings.h"

namespace ravinel {

// A colour as the settings store it: 0x00BBGGRR, or a system colour (top bit set, the
// low byte is the system colour index), or one of the special values clNone/clDefault.
using Color = uint32_t;

// Edges of a window; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The records below start with the values a fresh start without a settings file has.

// How an image window sizes its picture. The settings file keeps these numbers; a number
// outside them fits the framed screen.
enum class SizeMode : uint8_t { ownSize = 0, fitScreen = 1, fixedRate = 2, fixedLongSide = 3 };

// Where an image window stands across the work area. The settings file keeps these
// numbers; a number outside them stands left in the window and centred in the menu.
enum class PosMode : uint8_t { left = 0, centre = 1, right = 2 };

// Defaults of each new image window.
struct ViewFormConf {
    SizeMode sizeMode = SizeMode::fitScreen;
    uint16_t sizeFixed = 640;  // long side for the fixed long side
    double sizeRate = 1;       // rate for the fixed rate (1 = 100 %)
    PosMode posMode = PosMode::centre;
    bool wBuffer = true;        // double-buffered
    bool frameless = false;     // no caption and border
    bool playAnimation = true;  // moving pictures play as they open
    friend bool operator==(const ViewFormConf&, const ViewFormConf&) = default;
};

// Tiles of the thumbnail view.
struct ThumbPanel {
    uint8_t style = 0;
    Color pnlBkCol = 0x8000000F;     // clBtnFace
    Color panelCol = 0x8000000F;     // clBtnFace
    Color lblBkCol = 0x80000005;     // clWindow
    Color lblTxCol = 0x80000008;     // clWindowText
    Color lblBkSelCol = 0x8000000D;  // clHighlight
    Color lblTxSelCol = 0x8000000E;  // clHighlightText
    int32_t panelW = 110;
    int32_t panelH = 130;
    int32_t imageSize = 100;
    int32_t imageTop = 5;
    int32_t labelTop = 110;
    int32_t labelFSize = 9;
    uint8_t labelStyle = 0;   // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    uint8_t labelChar = 128;  // font character set
    std::string labelFont = "ＭＳ ゴシック";
    friend bool operator==(const ThumbPanel&, const ThumbPanel&) = default;
};

// Choices of the browser and the thumbnail making.
struct ThumbConf {
    bool hiQuality = true;
    bool execOnClick = false;
    bool useVixCat = false;
    bool useVixCatFirst = true;
    bool openArc = true;
    bool closeArcList = true;
    SortMode sortMode = SortMode::smNameUp;
    std::string vixHomeDir;
    // Thumbnails read from and written to the desktop's shared cache.
    bool useSharedCache = true;
    friend bool operator==(const ThumbConf&, const ThumbConf&) = default;
};

// Layout of the browser window.
struct ThumbFormConf {
    uint8_t viewStyle = 0;  // 0 thumbnails, other values the report list
    int32_t treeWidth = 160;
    int32_t treeAlign = 4;  // 3 tree on the left, other values on the right
    bool maximized = false;
    Rect bounds{0, 0, 640, 480};  // in the normal (not maximised) state
    friend bool operator==(const ThumbFormConf&, const ThumbFormConf&) = default;
};

// The graphic loader's options, kept here between runs.
struct LoaderFlags {
    bool doAnalyze = false;
    bool useSpiPrev = true;
    bool inBmpFirst = false;
    bool inJpgFirst = false;
    bool useOrientation = true;
    // The largest picture side, as stored; pictureSideLimit makes it usable.
    int32_t maxSide = kMaxPictureSide;
    bool useColorProfile = true;
    // What shows through pictures with alpha: the checkerboard (also for a number outside
    // the kinds) or alphaColor.
    AlphaBackgroundKind alphaBackground = AlphaBackgroundKind::checkerboard;
    Color alphaColor = 0x00FFFFFF;  // clWhite
    friend bool operator==(const LoaderFlags&, const LoaderFlags&) = default;
};

// The processing settings new image windows start with: area resampling, normalisation
// and sharpening after a reduction, normalisation before an enlargement.
inline GProcessSettings defaultViewConf() {
    GProcessSettings conf;
    conf.reductMode = ResizeMethod::area;
    conf.expandMode = ResizeMethod::area;
    conf.colorMode = ColorMode::full;
    conf.fltInReduct = filterSetFromText("0220");
    conf.fltInExpand = filterSetFromText("0010");
    conf.fltInOgsize = filterSetFromText("0000");
    conf.dither = true;
    conf.use3DNow = true;
    return conf;
}

}  // namespace ravinel
