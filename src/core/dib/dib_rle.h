#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace ravinel {

// Run-length coding of 8-bit (BI_RLE8) and 4-bit (BI_RLE4) pictures. Coded data lists
// the rows bottom-up; the plain blocks here are bottom-up too, rows padded to 4 bytes.
//
// Strict expansion refuses bad data with NkDibInvalidDibError, one message per kind of
// defect (numbers 1 to 4 for 8 bits, 5 to 8 for 4 bits, in this order):
//   1 / 5: the data ends inside a code (a run, an escape, a delta or an absolute block);
//   2 / 6: a run or an absolute block goes past the end of its row;
//   3 / 7: a delta moves past the end of the row or above the top row;
//   4 / 8: pixels or an end-of-line follow once every row has been filled.
// Data that ends after a complete code without an end-of-bitmap is accepted. Pixels the
// data never writes keep index 0.
//
// Tolerant expansion, for files from elsewhere, reads what it can instead: pixels past
// the end of a row are dropped, a delta may move anywhere (what lands outside is
// dropped), and decoding stops where the data break off or once every row is filled.
enum class RleMode { Strict, Tolerant };

// Expands coded data into plain, which holds height rows of the 8 or 4-bit stride and
// is zero-filled by the caller.
void expandRle8(std::span<const uint8_t> coded, int32_t width, int32_t height,
                std::span<uint8_t> plain, RleMode mode = RleMode::Strict);
void expandRle4(std::span<const uint8_t> coded, int32_t width, int32_t height,
                std::span<uint8_t> plain, RleMode mode = RleMode::Strict);

// Compresses plain 8 or 4-bit rows (height rows of the stride; topDown tells the order of
// plain). Each row ends with an end-of-line, the last with an end-of-bitmap.
std::vector<uint8_t> compressRle8(std::span<const uint8_t> plain, int32_t width, int32_t height,
                                  bool topDown);
std::vector<uint8_t> compressRle4(std::span<const uint8_t> plain, int32_t width, int32_t height,
                                  bool topDown);

}  // namespace ravinel
