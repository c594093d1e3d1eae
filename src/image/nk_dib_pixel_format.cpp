#include <string>

#include "image/dib_conversions.h"
#include "image/nk_dib.h"
#include "image/nk_dib_error.h"

namespace ravinel {
namespace {

bool isRunLength(NkDibPixelFormat f) {
    return f == NkDibPixelFormat::pf4BitRle || f == NkDibPixelFormat::pf8BitRle;
}

int plainBitCount(NkDibPixelFormat f) {
    switch (f) {
        case NkDibPixelFormat::pf1Bit:
            return 1;
        case NkDibPixelFormat::pf4Bit:
        case NkDibPixelFormat::pf4BitRle:
            return 4;
        case NkDibPixelFormat::pf8Bit:
        case NkDibPixelFormat::pf8BitRle:
            return 8;
        default:
            return 24;
    }
}

std::string formatName(NkDibPixelFormat f) {
    return std::to_string(plainBitCount(f)) + (isRunLength(f) ? "BitRLE" : "Bit");
}

[[noreturn]] void notSupportedYet() {
    throw NkDibError("TNkDIB.SetPixelFormat: not supported yet");
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
    if (target == NkDibPixelFormat::pf8BitHalftone || target == NkDibPixelFormat::pf1BitHalftone) {
        notSupportedYet();
    }
    const int fromBits = plainBitCount(source);
    const int toBits = plainBitCount(target);
    const bool reduces8To4 = fromBits == 8 && toBits == 4;
    if (toBits < fromBits && !reduces8To4) {
        if (fromBits == 24 && toBits != 1 && convertMode_ != kConvertFast &&
            convertMode_ != kConvertHighQuality) {
            throw NkDibError("TNkIntenalDIB.SetPixelsFormat: PixelFormat Error");
        }
        notSupportedYet();
    }

    // The converted store is a new one: the object stops sharing without copying first.
    if (reduces8To4) {
        beginProgress("PixelFormat " + formatName(source) + " -> " + formatName(target),
                      kReduce8To4ProgressTotal);
    }
    try {
        std::shared_ptr<NkInternalDib> work = store_;
        if (isRunLength(source)) {
            work = expandRunLength(*work);
        }
        if (toBits > fromBits) {
            work = widenBitCount(*work, toBits);
        } else if (reduces8To4) {
            work = reduce8BitTo4Bit(
                *work, [this](int position) { reportProgress(ProgressStage::Running, position); });
        }
        if (isRunLength(target)) {
            work = compressRunLength(*work);
        }
        store_ = std::move(work);
    } catch (...) {
        // Listeners that saw the start always see the end, also of a failed conversion.
        if (reduces8To4) {
            reportProgress(ProgressStage::Ending, progressTotal_);
        }
        throw;
    }
    if (reduces8To4) {
        reportProgress(ProgressStage::Ending, progressTotal_);
    }
}

}  // namespace ravinel
