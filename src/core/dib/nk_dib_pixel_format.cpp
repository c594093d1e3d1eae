#include <string>

#include "dib/color_reduction.h"
#include "dib/dib_conversions.h"
#include "dib/halftone_conversion.h"
#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"

namespace ravinel {
namespace {

bool isRunLength(NkDibPixelFormat f) {
    return f == NkDibPixelFormat::pf4BitRle || f == NkDibPixelFormat::pf8BitRle;
}

int plainBitCount(NkDibPixelFormat f) {
    switch (f) {
        case NkDibPixelFormat::pf1Bit:
        case NkDibPixelFormat::pf1BitHalftone:
            return 1;
        case NkDibPixelFormat::pf4Bit:
        case NkDibPixelFormat::pf4BitRle:
            return 4;
        case NkDibPixelFormat::pf8Bit:
        case NkDibPixelFormat::pf8BitRle:
        case NkDibPixelFormat::pf8BitHalftone:
            return 8;
        default:
            return 24;
    }
}

std::string formatName(NkDibPixelFormat f) {
    return std::to_string(plainBitCount(f)) + (isRunLength(f) ? "BitRLE" : "Bit");
}

// The slow conversions announce their progress under these totals; the others report
// nothing.
int progressTotal(int fromBits, int toBits, bool halftone) {
    if (halftone) {
        return 0;
    }
    if (fromBits == 24 && toBits != 1) {
        return 1 << toBits;
    }
    return fromBits == 8 && toBits == 4 ? kReduce8To4ProgressTotal : 0;
}

}  // namespace

void NkDib::setPixelFormat(NkDibPixelFormat target) {
    if (static_cast<int>(target) < 0 || static_cast<int>(target) > 7) {
        throw NkDibInvalidDibParaError("TNkDIB.SetPixelFormat: Invalid PixelFormat");
    }
    const NkDibPixelFormat source = pixelFormat();
    if (target == source) {
        return;
    }
    const bool halftone =
        target == NkDibPixelFormat::pf8BitHalftone || target == NkDibPixelFormat::pf1BitHalftone;
    const int fromBits = plainBitCount(source);
    const int toBits = plainBitCount(target);
    const bool reducesTrueColor = !halftone && fromBits == 24 && toBits < 24;
    if (reducesTrueColor && convertMode_ != kConvertFast && convertMode_ != kConvertHighQuality) {
        throw NkDibError("TNkIntenalDIB.SetPixelsFormat: PixelFormat Error");
    }

    // The converted store is a new one: the object stops sharing without copying first.
    const int total = progressTotal(fromBits, toBits, halftone);
    if (total != 0) {
        beginProgress("PixelFormat " + formatName(source) + " -> " + formatName(target), total);
    }
    ConversionProgress progress;
    if (total != 0) {
        progress = [this](int position) { reportProgress(ProgressStage::Running, position); };
    }
    try {
        std::shared_ptr<NkInternalDib> work = store_;
        if (isRunLength(source)) {
            work = expandRunLength(*work);
        }
        if (target == NkDibPixelFormat::pf8BitHalftone) {
            work = convertToHalfTone(*work);
        } else if (target == NkDibPixelFormat::pf1BitHalftone) {
            work = convertToHalfToneBW(*work);
        } else if (toBits > fromBits) {
            work = widenBitCount(*work, toBits);
        } else if (reducesTrueColor) {
            // To 1 bit too the palette comes from the picture: its two representative
            // colours rather than the background colour, which says nothing about it.
            work = reduceTrueColor(*work, toBits,
                                   convertMode_ == kConvertFast ? ColorReductionMethod::Fast
                                                                : ColorReductionMethod::HighQuality,
                                   progress);
        } else if (fromBits == 8 && toBits == 4) {
            work = reduce8BitTo4Bit(*work, progress);
        } else if (toBits == 1) {
            // A 4 or 8-bit picture to 1 bit: its two representative colours, found by
            // dividing its pixels once, as the high-quality method does. Exact and cheap
            // enough at this depth, so the conversion method does not matter here.
            work = reduceTrueColor(*widenBitCount(*work, 24), 1, ColorReductionMethod::HighQuality,
                                   progress);
        }
        if (isRunLength(target)) {
            work = compressRunLength(*work);
        }
        store_ = std::move(work);
    } catch (...) {
        // Listeners that saw the start always see the end, also of a failed conversion.
        if (total != 0) {
            reportProgress(ProgressStage::Ending, progressTotal_);
        }
        throw;
    }
    if (total != 0) {
        reportProgress(ProgressStage::Ending, progressTotal_);
    }
}

}  // namespace ravinel
