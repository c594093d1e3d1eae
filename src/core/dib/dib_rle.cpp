#include "dib/dib_rle.h"

#include <algorithm>
#include <string>

#include "dib/dib_pixel_index.h"
#include "dib/dib_types.h"
#include "dib/nk_dib_error.h"

namespace ravinel {
namespace {

// Escape codes that follow a zero count.
constexpr uint8_t kEndOfLine = 0;
constexpr uint8_t kEndOfBitmap = 1;
constexpr uint8_t kDelta = 2;
constexpr int kMaxRun = 255;
// Shorter runs stay inside absolute blocks: splitting a block for them costs more.
constexpr int kMinEncodedRun = 3;

enum Defect { kTruncated = 0, kRunPastRow = 1, kDeltaPastPicture = 2, kPastLastRow = 3 };

class RleExpander {
  public:
    RleExpander(std::span<const uint8_t> coded, int32_t width, int32_t height,
                std::span<uint8_t> plain, bool fourBit, RleMode mode)
        : coded_(coded),
          width_(width),
          height_(height),
          plain_(plain),
          stride_(dibStride(fourBit ? 4 : 8, width)),
          fourBit_(fourBit),
          tolerant_(mode == RleMode::Tolerant) {}

    void run() {
        int64_t x = 0;
        int64_t y = 0;
        while (pos_ < coded_.size()) {
            if (tolerant_ && y >= height_) {
                return;  // nothing more can land in the picture
            }
            if (!available(2)) {
                return;
            }
            const uint8_t count = coded_[pos_++];
            const uint8_t value = coded_[pos_++];
            if (count > 0) {
                checkRun(x, y, count);
                for (int i = 0; i < count; ++i) {
                    const uint8_t v =
                        !fourBit_ ? value
                                  : static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F);
                    put(x + i, y, v);
                }
                x += count;
                continue;
            }
            switch (value) {
                case kEndOfLine:
                    if (y >= height_) {
                        defect(kPastLastRow);
                    }
                    x = 0;
                    ++y;
                    break;
                case kEndOfBitmap:
                    return;
                case kDelta: {
                    if (!available(2)) {
                        return;
                    }
                    const uint8_t dx = coded_[pos_++];
                    const uint8_t dy = coded_[pos_++];
                    if (x + dx > width_ || y + dy > height_) {
                        defect(kDeltaPastPicture);
                    }
                    x += dx;
                    y += dy;
                    break;
                }
                default:
                    if (!absoluteBlock(x, y, value)) {
                        return;
                    }
                    x += value;
                    break;
            }
        }
    }

  private:
    // False when the data break off inside the block (tolerant mode only).
    bool absoluteBlock(int64_t x, int64_t y, int count) {
        checkRun(x, y, count);
        const size_t bytes = fourBit_ ? static_cast<size_t>(count + 1) / 2 : count;
        const size_t padded = bytes + (bytes & 1);  // blocks end on a 16-bit boundary
        const size_t left = coded_.size() - pos_;
        if (left < padded) {
            defect(kTruncated);
        }
        const uint8_t* data = coded_.data() + pos_;
        const int bits = fourBit_ ? 4 : 8;
        for (int i = 0; i < count && static_cast<size_t>(i) * bits / 8 < left; ++i) {
            put(x + i, y, paletteIndex(data, i, bits));
        }
        pos_ += std::min(padded, left);
        return left >= padded;
    }

    void checkRun(int64_t x, int64_t y, int count) const {
        if (y >= height_) {
            defect(kPastLastRow);
        }
        if (x + count > width_) {
            defect(kRunPastRow);
        }
    }

    // Whether n more bytes of data are there.
    bool available(size_t n) const {
        if (coded_.size() - pos_ < n) {
            defect(kTruncated);
            return false;
        }
        return true;
    }

    // Pixels past the row end reach here only in tolerant mode, and are dropped.
    void put(int64_t x, int64_t y, uint8_t v) {
        if (x < width_) {
            setPaletteIndex(plain_.data() + static_cast<size_t>(y) * stride_, x, fourBit_ ? 4 : 8,
                            v);
        }
    }

    // Strict mode refuses the data; tolerant mode returns, and the caller clips or stops.
    void defect(Defect kind) const {
        if (tolerant_) {
            return;
        }
        if (fourBit_) {
            throw NkDibInvalidDibError("Convert4BitRLETo4BitRGB: Bad RLE Data " +
                                       std::to_string(5 + kind));
        }
        throw NkDibInvalidDibError("Convert8BitRLETo8BitRGB: Bad RLE Data " +
                                   std::to_string(1 + kind));
    }

    std::span<const uint8_t> coded_;
    int64_t width_;
    int64_t height_;
    std::span<uint8_t> plain_;
    size_t stride_;
    bool fourBit_;
    bool tolerant_;
    size_t pos_ = 0;
};

void checkPlainSize(std::span<const uint8_t> plain, int bitCount, int32_t width, int32_t height) {
    if (width < 1 || height < 1 ||
        plain.size() < dibStride(bitCount, width) * static_cast<size_t>(height)) {
        throw NkDibInvalidDibParaError("RLE: pixel block does not fit the picture");
    }
}

class RleCompressor {
  public:
    RleCompressor(int32_t width, bool fourBit) : width_(width), fourBit_(fourBit) {}

    void row(const uint8_t* row, bool last) {
        row_ = row;
        int literalStart = 0;
        int x = 0;
        while (x < width_) {
            const int n = runLength(x);
            if (n >= kMinEncodedRun) {
                literal(literalStart, x - literalStart);
                encodedRun(x, n);
                x += n;
                literalStart = x;
            } else {
                ++x;
                if (x - literalStart == kMaxRun) {
                    literal(literalStart, kMaxRun);
                    literalStart = x;
                }
            }
        }
        literal(literalStart, x - literalStart);
        out_.push_back(0);
        out_.push_back(last ? kEndOfBitmap : kEndOfLine);
    }

    std::vector<uint8_t> take() { return std::move(out_); }

  private:
    uint8_t pixel(int x) const { return paletteIndex(row_, x, fourBit_ ? 4 : 8); }

    // Pixels from x that one encoded run can carry: equal bytes, or for 4 bits two
    // alternating nibbles.
    int runLength(int x) const {
        const uint8_t a = pixel(x);
        const uint8_t b = (fourBit_ && x + 1 < width_) ? pixel(x + 1) : a;
        int n = 1;
        while (x + n < width_ && n < kMaxRun && pixel(x + n) == (n % 2 == 0 ? a : b)) {
            ++n;
        }
        return n;
    }

    void encodedRun(int x, int n) {
        out_.push_back(static_cast<uint8_t>(n));
        if (!fourBit_) {
            out_.push_back(pixel(x));
        } else {
            const uint8_t second = n > 1 ? pixel(x + 1) : 0;
            out_.push_back(static_cast<uint8_t>(pixel(x) << 4 | second));
        }
    }

    // Pixels that no long run covers: absolute blocks, or short runs where a block
    // cannot be used (blocks hold at least three pixels).
    void literal(int x, int n) {
        while (n > 0) {
            int m;
            if (n >= kMinEncodedRun) {
                m = std::min(n, kMaxRun);
                absoluteBlock(x, m);
            } else {
                m = std::min(runLength(x), n);
                encodedRun(x, m);
            }
            x += m;
            n -= m;
        }
    }

    void absoluteBlock(int x, int n) {
        out_.push_back(0);
        out_.push_back(static_cast<uint8_t>(n));
        size_t bytes = 0;
        if (!fourBit_) {
            out_.insert(out_.end(), row_ + x, row_ + x + n);
            bytes = static_cast<size_t>(n);
        } else {
            for (int i = 0; i < n; i += 2) {
                const uint8_t second = i + 1 < n ? pixel(x + i + 1) : 0;
                out_.push_back(static_cast<uint8_t>(pixel(x + i) << 4 | second));
                ++bytes;
            }
        }
        if (bytes % 2 != 0) {
            out_.push_back(0);
        }
    }

    int32_t width_;
    bool fourBit_;
    const uint8_t* row_ = nullptr;
    std::vector<uint8_t> out_;
};

std::vector<uint8_t> compress(std::span<const uint8_t> plain, int32_t width, int32_t height,
                              bool topDown, bool fourBit) {
    const int bitCount = fourBit ? 4 : 8;
    checkPlainSize(plain, bitCount, width, height);
    const size_t stride = dibStride(bitCount, width);
    RleCompressor compressor(width, fourBit);
    for (int32_t r = 0; r < height; ++r) {
        const int32_t blockRow = topDown ? height - 1 - r : r;
        compressor.row(plain.data() + static_cast<size_t>(blockRow) * stride, r == height - 1);
    }
    return compressor.take();
}

}  // namespace

void expandRle8(std::span<const uint8_t> coded, int32_t width, int32_t height,
                std::span<uint8_t> plain, RleMode mode) {
    checkPlainSize(plain, 8, width, height);
    RleExpander(coded, width, height, plain, false, mode).run();
}

void expandRle4(std::span<const uint8_t> coded, int32_t width, int32_t height,
                std::span<uint8_t> plain, RleMode mode) {
    checkPlainSize(plain, 4, width, height);
    RleExpander(coded, width, height, plain, true, mode).run();
}

std::vector<uint8_t> compressRle8(std::span<const uint8_t> plain, int32_t width, int32_t height,
                                  bool topDown) {
    return compress(plain, width, height, topDown, false);
}

std::vector<uint8_t> compressRle4(std::span<const uint8_t> plain, int32_t width, int32_t height,
                                  bool topDown) {
    return compress(plain, width, height, topDown, true);
}

}  // namespace ravinel
