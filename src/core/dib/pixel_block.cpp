#include "dib/pixel_block.h"

#include <sys/mman.h>

#include <cstdlib>
#include <utility>

#include "dib/nk_dib_error.h"

namespace ravinel {

namespace {

constexpr size_t kHugePage = size_t{2} << 20;
// Below this a heap block is cheaper than a mapping of its own.
constexpr size_t kMappedFrom = size_t{1} << 20;

[[noreturn]] void outOfMemory() {
    throw OutOfResourcesError("GetMemory: Cannot Allocate Memory");
}

}  // namespace

PixelBlock::PixelBlock(size_t size) : size_(size) {
    if (size < kMappedFrom) {
        // calloc(0) may return null; one byte keeps data() valid for an empty block.
        data_ = static_cast<uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
        if (data_ == nullptr) {
            outOfMemory();
        }
        return;
    }
    // Map a huge page more than needed and keep the aligned part, so every 2 MiB of the
    // block can be one huge page. Anonymous mappings come zero-filled.
    const size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
    const size_t mapped = length + kHugePage;
    void* p = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
        outOfMemory();
    }
    auto* base = static_cast<uint8_t*>(p);
    const auto address = reinterpret_cast<uintptr_t>(base);
    const size_t head = (kHugePage - address % kHugePage) % kHugePage;
    if (head != 0) {
        munmap(base, head);
    }
    munmap(base + head + length, kHugePage - head);
    data_ = base + head;
    mappedBytes_ = length;
    // Only advice: without transparent huge pages the block works on small pages.
    madvise(data_, length, MADV_HUGEPAGE);
}

PixelBlock::PixelBlock(PixelBlock&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mappedBytes_(std::exchange(other.mappedBytes_, 0)) {}

PixelBlock& PixelBlock::operator=(PixelBlock&& other) noexcept {
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
        mappedBytes_ = std::exchange(other.mappedBytes_, 0);
    }
    return *this;
}

PixelBlock::~PixelBlock() {
    release();
}

void PixelBlock::release() noexcept {
    if (mappedBytes_ != 0) {
        munmap(data_, mappedBytes_);
    } else {
        std::free(data_);
    }
    data_ = nullptr;
}

}  // namespace ravinel
