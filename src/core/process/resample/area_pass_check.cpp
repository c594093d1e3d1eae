#include "process/resample/area_pass_check.h"

#include <stdexcept>
#include <string>

namespace ravinel {

void checkAreaPass(const NkDib& dest, const NkDib& src, int32_t width, int32_t height,
                   const char* pass) {
    if (src.pixelFormat() != NkDibPixelFormat::pf24Bit) {
        throw std::invalid_argument(std::string(pass) + ": the source is not 24-bit");
    }
    if (dest.pixelFormat() != NkDibPixelFormat::pf24Bit || dest.width() != width ||
        dest.height() != height) {
        throw std::invalid_argument(std::string(pass) + ": the destination is not a 24-bit " +
                                    std::to_string(width) + " x " + std::to_string(height) +
                                    " picture");
    }
}

}  // namespace ravinel
