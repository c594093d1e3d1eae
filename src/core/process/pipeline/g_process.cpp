#include "process/pipeline/g_process.h"

#include <array>

#include "process/resample/g_resize.h"

namespace ravinel {

namespace {

constexpr std::array<const char*, 5> kColorModeNames = {"24", "HalfTone8", "8", "4", "HalfTone1"};
constexpr uint8_t kNoiseThreshold = 15;

}  // namespace

std::string GProcess::colorModeName() const {
    const uint8_t index = modeIndex(settings.colorMode);
    return index < kColorModeNames.size() ? kColorModeNames[index] : "";
}

void GProcess::progress(ProcessStage stage) const {
    if (onProgress) {
        onProgress(stage);
    }
}

void GProcess::execute() {
    progress(ProcessStage::resizing);
    // Let go of the previous display picture's pixels before making the next.
    dest.setWidth(1);
    dest.setHeight(1);
    dest = filteredAndResized();
    progress(ProcessStage::colorDepth);
    changeColorDepth();
}

NkDib GProcess::filteredAndResized() const {
    // a shares the source's pixels; converting it makes its own, so source stays as it is.
    NkDib a = source;
    a.setConvertMode(NkDib::kConvertHighQuality);
    a.setPixelFormat(NkDibPixelFormat::pf24Bit);
    a.setPaletteSize(0);
    const int32_t sourceHeight = source.height();
    // Only the heights decide: at the source's height nothing is resized, whatever the width.
    if (sourceHeight == destHeight) {
        runFilters(settings.fltInOgsize, FilterPhase::fpAfter, a);
        return a;
    }
    const bool reduce = sourceHeight > destHeight;
    const FilterSet& filters = reduce ? settings.fltInReduct : settings.fltInExpand;
    runFilters(filters, FilterPhase::fpBefore, a);
    NkDib b;
    resize(b, a, reduce ? settings.reductMode : settings.expandMode, reduce);
    runFilters(filters, FilterPhase::fpAfter, b);
    return b;
}

void GProcess::resize(NkDib& into, NkDib& from, ResizeMethod method, bool reduce) const {
    if (method == ResizeMethod::area) {
        (reduce ? areaReduce : areaExpand)(into, from, destHeight, destWidth);
    } else if (method == ResizeMethod::halftone) {
        halftoneResize(into, from, destHeight, destWidth);
    } else {
        stretchDrawResize(into, from, destHeight, destWidth);
    }
}

// In the fixed order noise removal, normalisation, sharpening; each filter's result
// replaces the picture (a shared store, no copy).
void GProcess::runFilters(const FilterSet& filters, FilterPhase phase, NkDib& picture) const {
    if (filters.noise == phase) {
        progress(ProcessStage::noiseRemoval);
        NkDib result;
        if (settings.use3DNow) {
            conditionalAverage3DNow(result, picture, kNoiseThreshold);
        } else {
            conditionalAverage(result, picture, kNoiseThreshold);
        }
        picture = result;
    }
    if (filters.normalize == phase) {
        progress(ProcessStage::normalizing);
        NkDib result;
        if (settings.use3DNow) {
            normalizeBrightness3DNow(result, picture);
        } else {
            normalizeBrightness(result, picture);
        }
        picture = result;
    }
    if (filters.sharp == phase) {
        progress(ProcessStage::sharpening);
        NkDib result;
        sharpen(result, picture);
        picture = result;
    }
}

void GProcess::changeColorDepth() {
    dest.setConvertMode(NkDib::kConvertHighQuality);
    switch (settings.colorMode) {
        case ColorMode::full:
            dest.setPixelFormat(NkDibPixelFormat::pf24Bit);
            if (settings.dither) {
                ditherTo16Bit(dest);
            }
            dest.setPaletteSize(0);
            break;
        case ColorMode::halftone8:
            dest.setPixelFormat(NkDibPixelFormat::pf8BitHalftone);
            break;
        case ColorMode::palette8:
            dest.setPixelFormat(NkDibPixelFormat::pf8Bit);
            break;
        case ColorMode::palette4:
            dest.setPixelFormat(NkDibPixelFormat::pf4Bit);
            break;
        case ColorMode::halftone1:
            dest.setPixelFormat(NkDibPixelFormat::pf1BitHalftone);
            break;
        default:
            dest.setPixelFormat(NkDibPixelFormat::pf24Bit);
            break;
    }
}

}  // namespace ravinel
