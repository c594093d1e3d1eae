#pragma once

#include <cstdint>
#include <vector>

namespace ravinel {

// The vector paths dither several rows at once, each two pixels behind the row above it:
// pixel x of a row needs the errors of pixels x - 1..x + 1 of the row above and of pixel
// x - 1 of its own. A pixel's three channels and a spare lane are four 16-bit lanes, which
// hold every value exactly: an error is at most 9 x 255 from the row above plus 7 x 255
// from the left, and 16 p + error stays within -4080..8160.

// The lanes of the wavefront over rows of width pixels, rowsAtOnce at a time: step t holds
// pixel t - 2 j of row j in group j (zeros outside the row).
inline int wavefrontSteps(int rowsAtOnce, int width) {
    return width + 2 * rowsAtOnce - 1;
}
inline size_t wavefrontLane(int rowsAtOnce, int row, int x, int channel) {
    return (static_cast<size_t>(x + 2 * row) * static_cast<size_t>(rowsAtOnce) +
            static_cast<size_t>(row)) *
               4 +
           static_cast<size_t>(channel);
}

inline void skewRows(uint8_t* const* rows, int rowsAtOnce, int width, std::vector<int16_t>& lanes) {
    lanes.assign(wavefrontLane(rowsAtOnce, 0, wavefrontSteps(rowsAtOnce, width), 0), 0);
    for (int j = 0; j < rowsAtOnce; ++j) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                lanes[wavefrontLane(rowsAtOnce, j, x, c)] = rows[j][3 * x + c];
            }
        }
    }
}

inline void unskewRows(const std::vector<int16_t>& lanes, int rowsAtOnce, int width,
                       uint8_t* const* rows) {
    for (int j = 0; j < rowsAtOnce; ++j) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                rows[j][3 * x + c] =
                    static_cast<uint8_t>(lanes[wavefrontLane(rowsAtOnce, j, x, c)]);
            }
        }
    }
}

// Whether pixel t - 2 j of a row is inside it: outside, a lane's error must not spread.
inline bool insideRow(int t, int j, int width) {
    return t >= 2 * j && t - 2 * j < width;
}

// Entries of the error row the vector paths take and leave: four words per pixel.
inline size_t vectorErrorEntries(int width) {
    return 4 * (static_cast<size_t>(width) + 8);
}

#if defined(__x86_64__)
// Dithers rows[0..rowCount), all but the picture's last row, rowCount a multiple of 2
// (SSE2) or 4 (AVX2). errors (vectorErrorEntries) holds what the first row receives from
// the row above (blue, green, red, 0 per pixel) and is left holding what the row after
// receives.
constexpr int kSse2DitherRows = 2;
constexpr int kAvx2DitherRows = 4;
void ditherRowsSse2(uint8_t* const* rows, int rowCount, int width, int16_t* errors);
void ditherRowsAvx2(uint8_t* const* rows, int rowCount, int width, int16_t* errors);
#endif

}  // namespace ravinel
