#include "tests/plugins/dng_writer.h"

#include <tiffio.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace ravinel::test {
namespace {

constexpr std::uint16_t kPhotometricCfa = 32803;
constexpr std::uint32_t kWhiteLevel = 4095;

bool writePreview(TIFF* tiff, const DngPicture& picture) {
    const bool jpeg = picture.preview == DngPicture::Preview::jpeg;
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.previewWidth);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.previewHeight);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, picture.previewHeight);
    if (jpeg) {
        // One whole JPEG in the strip, as cameras embed their previews.
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_JPEG);
        TIFFSetField(tiff, TIFFTAG_JPEGTABLESMODE, 0);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
        TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
        TIFFSetField(tiff, TIFFTAG_JPEGQUALITY, 95);
    } else {
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    }
    std::vector<std::uint8_t> row(static_cast<std::size_t>(picture.previewWidth) * 3);
    for (std::size_t x = 0; x < row.size(); ++x) {
        row[x] = picture.previewColour[x % 3];
    }
    for (int y = 0; y < picture.previewHeight; ++y) {
        if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) != 1) {
            return false;
        }
    }
    return true;
}

void writeCameraTags(TIFF* tiff, const DngPicture& picture) {
    const std::uint8_t version[4] = {1, 4, 0, 0};
    TIFFSetField(tiff, TIFFTAG_DNGVERSION, version);
    TIFFSetField(tiff, TIFFTAG_MAKE, "Ravinel");
    TIFFSetField(tiff, TIFFTAG_MODEL, "Test camera");
    TIFFSetField(tiff, TIFFTAG_UNIQUECAMERAMODEL, "Ravinel Test camera");
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, picture.orientation);
    // XYZ to the camera's red, green and blue: sRGB's primaries.
    const float colorMatrix[9] = {3.2406f, -1.5372f, -0.4986f, -0.9689f, 1.8758f,
                                  0.0415f, 0.0557f,  -0.2040f, 1.0570f};
    TIFFSetField(tiff, TIFFTAG_COLORMATRIX1, 9, colorMatrix);
    TIFFSetField(tiff, TIFFTAG_CALIBRATIONILLUMINANT1, 21);
    TIFFSetField(tiff, TIFFTAG_ASSHOTNEUTRAL, 3, picture.asShotNeutral.data());
}

bool writeMosaic(TIFF* tiff, const DngPicture& picture) {
    TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, 0);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, picture.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, picture.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, kPhotometricCfa);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, picture.height);
    const std::uint16_t repeat[2] = {2, 2};
    TIFFSetField(tiff, TIFFTAG_CFAREPEATPATTERNDIM, repeat);
    const std::uint8_t pattern[4] = {0, 1, 1, 2};  // red, green / green, blue
    TIFFSetField(tiff, TIFFTAG_CFAPATTERN, 4, pattern);
    const float black[1] = {0.0f};
    TIFFSetField(tiff, TIFFTAG_BLACKLEVEL, 1, black);
    const std::uint32_t white[1] = {kWhiteLevel};
    TIFFSetField(tiff, TIFFTAG_WHITELEVEL, 1, white);
    std::vector<std::uint16_t> row(static_cast<std::size_t>(picture.width));
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            // 0 red, 1 green, 2 blue by the pattern above.
            const int site = (y % 2) + (x % 2);
            const int halved = x < picture.width / 2 ? 1 : 0;
            row[static_cast<std::size_t>(x)] = static_cast<std::uint16_t>(
                picture.mosaic[static_cast<std::size_t>(site)] >> halved);
        }
        if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) != 1) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool writeDng(const DngPicture& picture, const std::filesystem::path& path) {
    TIFFSetWarningHandler(nullptr);
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        return false;
    }
    bool written = true;
    if (picture.preview != DngPicture::Preview::none) {
        // The first directory holds the preview and the mosaic follows as its SubIFD.
        toff_t offsets[1] = {0};
        TIFFSetField(tiff, TIFFTAG_SUBIFD, 1, offsets);
        writeCameraTags(tiff, picture);
        written = writePreview(tiff, picture) && TIFFWriteDirectory(tiff) == 1;
    } else {
        writeCameraTags(tiff, picture);
    }
    written = written && writeMosaic(tiff, picture) && TIFFWriteDirectory(tiff) == 1;
    TIFFClose(tiff);
    return written;
}

Bytes encodeDng(const DngPicture& picture) {
    const TemporaryFile file("picture.dng", {});
    if (!writeDng(picture, file.path())) {
        return {};
    }
    std::ifstream in(file.path(), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

}  // namespace ravinel::test
