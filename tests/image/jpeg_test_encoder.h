#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravinel::testing {

// A picture of 8-bit samples, row by row from the top: 3 per pixel (R, G, B), 1 for
// grayscale, 4 for CMYK.
struct SamplePicture {
    int width = 0;
    int height = 0;
    int components = 3;
    std::vector<uint8_t> samples;

    uint8_t* at(int x, int y) {
        return samples.data() + (static_cast<size_t>(y) * width + x) * components;
    }
};

// A smooth colour gradient: red grows to the right, green downwards, blue is constant.
SamplePicture gradientPicture(int width, int height);

struct JpegEncodeOptions {
    bool progressive = false;
    int quality = 95;
    bool adobeMarker = true;  // CMYK only: libjpeg writes it unless told not to
};

// Encodes with libjpeg: RGB as YCbCr with a JFIF header, grayscale with a JFIF header,
// CMYK as it stands.
std::vector<uint8_t> encodeJpeg(const SamplePicture& picture,
                                const JpegEncodeOptions& options = {});

}  // namespace ravinel::testing
