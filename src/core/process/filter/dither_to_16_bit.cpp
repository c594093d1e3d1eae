#include <array>
#include <cstdint>
#include <vector>

#include "platform/vector_path.h"
#include "process/dib_rows.h"
#include "process/filter/dither_rows.h"
#include "process/filter/image_filters.h"
#include "process/saturate.h"

namespace ravinel {
namespace {

// Blue and red keep 5 bits, green 6.
constexpr std::array<int32_t, 3> kMasks = {0xF8, 0xFC, 0xF8};

// The errors a row receives: one entry of three channels per pixel, with one spare entry
// on each side for the writes left of the first pixel and right of the last.
class ErrorRow {
  public:
    explicit ErrorRow(int width) : entries_(3 * (static_cast<size_t>(width) + 2), 0) {}
    // Entry x (-1..width) of channel c.
    int32_t& at(int x, int c) { return entries_[3 * static_cast<size_t>(x + 1) + c]; }
    // The spare entries are never read; clearing them keeps their sums from growing.
    void clearSpares(int width) {
        for (int c = 0; c < 3; ++c) {
            at(-1, c) = 0;
            at(width, c) = 0;
        }
    }

  private:
    std::vector<int32_t> entries_;
};

// (16 p + e) with signed word saturation, of which only the low 16 bits of e take part,
// then an arithmetic shift by 4 and unsigned byte saturation.
inline int32_t ditheredLevel(int32_t p, int32_t e) {
    const auto lowWord = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(e)));
    return clampByte(saturateInt16(16 * p + lowWord) >> 4);
}

void ditherRow(uint8_t* row, int width, ErrorRow& current, ErrorRow& next) {
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
            uint8_t& pixel = row[3 * static_cast<size_t>(x) + static_cast<size_t>(c)];
            const int32_t p = pixel;
            const int32_t q = ditheredLevel(p, current.at(x, c)) & kMasks[static_cast<size_t>(c)];
            pixel = static_cast<uint8_t>(q);
            const int32_t d = p - q;
            current.at(x, c) = 0;
            current.at(x + 1, c) += 7 * d;
            next.at(x - 1, c) += 3 * d;
            next.at(x, c) += 5 * d;
            next.at(x + 1, c) += d;
        }
    }
    current.clearSpares(width);
    next.clearSpares(width);
}

// The last row passes its error only to the right, divides truncating toward zero and
// maps levels above 255 to the mask value itself.
void ditherLastRow(uint8_t* row, int width, ErrorRow& current) {
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
            uint8_t& pixel = row[3 * static_cast<size_t>(x) + static_cast<size_t>(c)];
            const int32_t p = pixel;
            const int32_t mask = kMasks[static_cast<size_t>(c)];
            const int32_t v = (current.at(x, c) + 16 * p) / 16;
            const int32_t q = v < 0 ? 0 : v > 255 ? mask : v & mask;
            pixel = static_cast<uint8_t>(q);
            current.at(x + 1, c) += 7 * (p - q);
        }
    }
}

using VectorRows = void (*)(uint8_t* const*, int, int, int16_t*);

// Runs the vector path of the level in use over as many whole groups of rows as fit
// before the last row; leaves in current what the next row receives. Returns the number
// of rows done.
size_t ditherLeadingRows(const std::vector<uint8_t*>& out, int width, ErrorRow& current) {
#if defined(__x86_64__)
    const VectorRows vector = vectorPath(ditherRowsSse2, ditherRowsAvx2);
    const int rowsAtOnce = vector == ditherRowsAvx2 ? kAvx2DitherRows : kSse2DitherRows;
#else
    const VectorRows vector = nullptr;
    const int rowsAtOnce = 1;
#endif
    const size_t groups = (out.size() - 1) / static_cast<size_t>(rowsAtOnce);
    if (vector == nullptr || groups == 0) {
        return 0;
    }
    const auto rowCount = static_cast<int>(groups * static_cast<size_t>(rowsAtOnce));
    std::vector<int16_t> errors(vectorErrorEntries(width), 0);
    vector(out.data(), rowCount, width, errors.data());
    for (int x = 0; x < width; ++x) {
        for (int c = 0; c < 3; ++c) {
            current.at(x, c) = errors[4 * static_cast<size_t>(x) + static_cast<size_t>(c)];
        }
    }
    return static_cast<size_t>(rowCount);
}

}  // namespace

void ditherTo16Bit(NkDib& pic) {
    pic.setPixelFormat(NkDibPixelFormat::pf24Bit);
    const int width = pic.width();
    std::array<ErrorRow, 2> errors = {ErrorRow(width), ErrorRow(width)};
    const std::vector<uint8_t*> out = rows(pic);
    const size_t done = ditherLeadingRows(out, width, errors[0]);
    size_t r = 0;
    for (size_t y = done; y + 1 < out.size(); ++y) {
        ditherRow(out[y], width, errors[r], errors[1 - r]);
        r = 1 - r;
    }
    ditherLastRow(out.back(), width, errors[r]);
}

}  // namespace ravinel
