#include "image/pixel_block.h"

#include <cstdlib>

#include "image/nk_dib_error.h"

namespace ravinel {

PixelBlock::PixelBlock(size_t size) : size_(size) {
    // calloc(0) may return null; one byte keeps data() valid for an empty block.
    void* p = std::calloc(size == 0 ? 1 : size, 1);
    if (p == nullptr) {
        throw OutOfResourcesError("GetMemory: Cannot Allocate Memory");
    }
    data_.reset(static_cast<uint8_t*>(p));
}

void PixelBlock::FreeDeleter::operator()(uint8_t* p) const {
    std::free(p);
}

}  // namespace ravinel
