#include "viewer/display_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "codec/decode_limits.h"

namespace ravinel {

namespace {

// The side of the largest square box whose 24-bit picture the display store still holds.
constexpr int64_t kMaxStoreSide = 9459;
static_assert(kMaxStoreSide * kMaxStoreSide * 3 <= kDisplayDecodeBytes);
// A picture is shown at most this many times larger, and at least this many times smaller.
constexpr int64_t kMaxScale = 256;

// Halves go up.
int64_t nearest(double x) {
    return static_cast<int64_t>(std::floor(x + 0.5));
}

// A side scaled by a rate read from the settings; a rate that is not a number counts as 0.
int64_t scaledSide(int64_t side, double rate, int64_t maxSetSide) {
    const double x = static_cast<double>(side) * rate;
    if (!(x > 0)) {
        return 0;
    }
    // Anything that rounds beyond the cut is cut anyway; this keeps the conversion defined.
    return x >= static_cast<double>(maxSetSide) + 0.5 ? maxSetSide + 1 : nearest(x);
}

struct Box {
    int64_t width;
    int64_t height;
};

// A fixed rate or a fixed long side asks for at most a box of the largest picture side,
// and never for more than the display store holds.
Box boundingBox(int64_t w, int64_t h, const ViewFormConf& viewForm, const ScreenMetrics& metrics,
                bool frameless, int64_t maxSide) {
    const int64_t maxSetSide = std::min(maxSide, kMaxStoreSide);
    switch (viewForm.sizeMode) {
        case SizeMode::ownSize:
            return {w, h};
        case SizeMode::fitScreen:
            if (frameless) {
                return {metrics.workWidth, metrics.workHeight};
            }
            return {metrics.maxClientWidth, metrics.maxClientHeight};
        case SizeMode::fixedRate: {
            Box box{scaledSide(w, viewForm.sizeRate, maxSetSide),
                    scaledSide(h, viewForm.sizeRate, maxSetSide)};
            if (box.width > maxSetSide || box.height > maxSetSide) {
                return {maxSetSide, maxSetSide};
            }
            return {std::max<int64_t>(box.width, 1), std::max<int64_t>(box.height, 1)};
        }
        case SizeMode::fixedLongSide: {
            const int64_t side = std::min<int64_t>(viewForm.sizeFixed, maxSetSide);
            return {side, side};
        }
        default:
            // Unknown modes act as the framed fit box, frameless or not.
            return {metrics.maxClientWidth, metrics.maxClientHeight};
    }
}

uint16_t toSide(int64_t side) {
    return static_cast<uint16_t>(std::clamp<int64_t>(side, 1, UINT16_MAX));
}

int32_t toInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

DisplaySize calcDisplaySize(int32_t sourceWidth, int32_t sourceHeight, const ViewFormConf& viewForm,
                            const ScreenMetrics& metrics, bool frameless, int32_t maxSide) {
    // A picture without size is taken as one pixel, so nothing below divides by zero.
    const int64_t w = std::max(sourceWidth, 1);
    const int64_t h = std::max(sourceHeight, 1);
    const double wd = static_cast<double>(w);
    const double hd = static_cast<double>(h);
    Box box = boundingBox(w, h, viewForm, metrics, frameless, std::max(maxSide, 1));

    // Keep the aspect ratio inside the box, enlarging as well as reducing.
    if (w * box.height >= h * box.width) {
        box.height = std::max<int64_t>(nearest(hd * static_cast<double>(box.width) / wd), 1);
    } else {
        box.width = std::max<int64_t>(nearest(wd * static_cast<double>(box.height) / hd), 1);
    }

    if (box.width > kMaxScale * w || box.height > kMaxScale * h) {
        box = {kMaxScale * w, kMaxScale * h};
    }
    if (w > kMaxScale * box.width || h > kMaxScale * box.height) {
        box = {nearest(wd / kMaxScale), nearest(hd / kMaxScale)};
        if (box.width == 0) {
            box = {1, nearest(hd / wd)};
        } else if (box.height == 0) {
            box = {nearest(wd / hd), 1};
        }
    }
    // A zero box (a long side of 0 in a hand-edited settings file, or no work area) still
    // gives a picture of at least one pixel.
    return {toSide(box.width), toSide(box.height)};
}

DisplaySize processedSize(int32_t sourceWidth, int32_t sourceHeight, const ViewFormConf& viewForm,
                          const ScreenMetrics& metrics, bool frameless, int32_t maxSide) {
    const DisplaySize size =
        calcDisplaySize(sourceWidth, sourceHeight, viewForm, metrics, frameless, maxSide);
    return {std::max<uint16_t>(size.width, 1), std::max<uint16_t>(size.height, 1)};
}

WindowBounds placeWindow(int32_t displayWidth, int32_t displayHeight, const ScreenMetrics& metrics,
                         PosMode posMode, bool frameless) {
    const int64_t dw = displayWidth;
    const int64_t dh = displayHeight;
    const int64_t aw = frameless ? metrics.workWidth : metrics.maxClientWidth;
    const int64_t ah = frameless ? metrics.workHeight : metrics.maxClientHeight;
    const int64_t fx = frameless ? 0 : metrics.frameX;
    const int64_t fy = frameless ? 0 : metrics.frameY;
    const int64_t vScroll = metrics.vScrollWidth;
    const int64_t hScroll = metrics.hScrollHeight;

    int64_t ww = metrics.workWidth;
    int64_t wh = metrics.workHeight;
    if (ah < dh && aw >= dw + vScroll) {
        // Too tall: a vertical scroll bar beside the picture.
        ww = dw + fx + vScroll;
    } else if (ah >= dh + hScroll && aw < dw) {
        // Too wide: a horizontal scroll bar below the picture.
        wh = fy + dh + hScroll;
    } else if (ah >= dh && aw >= dw) {
        ww = dw + fx;
        wh = dh + fy;
    }

    int64_t left = metrics.workLeft;
    if (posMode == PosMode::centre) {
        left += (metrics.workWidth - ww) / 2;
    } else if (posMode == PosMode::right) {
        left += metrics.workWidth - ww;
    }
    return {toInt32(left), metrics.workTop, toInt32(ww), toInt32(wh)};
}

}  // namespace ravinel
