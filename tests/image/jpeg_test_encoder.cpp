#include "tests/image/jpeg_test_encoder.h"

#include <cstdio>
#include <cstdlib>

// jpeglib.h needs the FILE and size_t declarations first.
#include <jpeglib.h>

namespace ravinel::testing {

SamplePicture gradientPicture(int width, int height) {
    SamplePicture picture{width, height, 3, std::vector<uint8_t>(size_t(width) * height * 3)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = picture.at(x, y);
            p[0] = static_cast<uint8_t>(width > 1 ? x * 255 / (width - 1) : 0);
            p[1] = static_cast<uint8_t>(height > 1 ? y * 255 / (height - 1) : 0);
            p[2] = 96;
        }
    }
    return picture;
}

std::vector<uint8_t> encodeJpeg(const SamplePicture& picture, const JpegEncodeOptions& options) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = picture.components;
    cinfo.in_color_space = picture.components == 1   ? JCS_GRAYSCALE
                           : picture.components == 4 ? JCS_CMYK
                                                     : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (picture.components == 4) {
        cinfo.write_Adobe_marker = options.adobeMarker ? TRUE : FALSE;
    }
    if (options.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(picture.samples.data()) +
                       size_t(cinfo.next_scanline) * picture.width * picture.components;
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace ravinel::testing
