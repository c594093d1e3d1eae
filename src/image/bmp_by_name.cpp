#include "image/bmp_by_name.h"

#include "image/file_extension.h"
#include "image/tolerant_bmp_reader.h"

namespace ravinel {

NkDib readBmpByName(std::span<const uint8_t> file, const std::string& name,
                    const DecodeLimits& limits) {
    if (upperExtension(name) == ".DIB") {
        NkDib picture;
        picture.loadFromStream(file);
        return picture;
    }
    return readTolerantBmp(file, limits);
}

}  // namespace ravinel
