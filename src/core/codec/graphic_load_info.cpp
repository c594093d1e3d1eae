#include "codec/graphic_load_info.h"

namespace ravinel {

namespace {

const char* failureName(LoadFailure failure) {
    switch (failure) {
        case LoadFailure::none:
            return "";
        case LoadFailure::notRecognized:
            return "not recognised";
        case LoadFailure::noPluginTookIt:
            return "no plug-in took it";
        case LoadFailure::fileSize:
            return "file too small or too large";
        case LoadFailure::decoderError:
            return "decoder error";
        case LoadFailure::contentMismatch:
            return "content does not match the extension";
        case LoadFailure::sideOverLimit:
            return "side over the limit";
        case LoadFailure::memoryOverLimit:
            return "over the memory of a decode";
        case LoadFailure::unreadableFile:
            return "missing or unreadable file";
    }
    return "";
}

}  // namespace

std::string loadFailureText(const GraphicLoadInfo& info) {
    std::string text = failureName(info.failure);
    if (!text.empty() && !info.failureDetail.empty()) {
        text += ": " + info.failureDetail;
    }
    return text;
}

}  // namespace ravinel
