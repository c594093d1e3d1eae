#pragma once

#include <cstdint>
#include <span>

namespace ravinel {

// The picture size in a JPEG's baseline (C0) or progressive (C2) frame header.
struct JpegFrameSize {
    uint16_t width = 0;
    uint16_t height = 0;
};

// Walks the segment headers from the one at offset 2 to the first C0 or C2 frame
// without decoding. Returns false when the walk stops first: a byte that is not FF where
// a marker belongs, the end-of-image marker, a segment length below 2 or one that runs
// past the data. Throws StreamReadError when a read passes the end of the data.
bool findJpegFrame(std::span<const uint8_t> data, JpegFrameSize& frame);

}  // namespace ravinel
