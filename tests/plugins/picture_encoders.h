// Pictures made at test time by the same libraries the bundled plug-ins decode with. Each
// format's sample functions give the pixels it encodes, so that decoded pixels can be
// checked against them.
#pragma once

#include <gif_lib.h>
#include <png.h>
#include <tiffio.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <vector>

#include "tests/plugins/temporary_file.h"

namespace ravinel::test {

namespace png_source {

constexpr int kWidth = 37;
constexpr int kHeight = 23;

struct PngCase {
    const char* name;
    int colorType;
    int bitDepth;
    bool interlaced;
    bool transparentPalette;
};
// Names a case in test output.
void PrintTo(const PngCase& c, std::ostream* out);

int channelsOf(int colorType);
// A pseudo-random sample, so that every bit of every channel is exercised.
unsigned sampleAt(int x, int y, int channel, unsigned maximum);
png_color paletteColour(unsigned i);
png_byte paletteAlpha(unsigned i);

// With exif, an eXIf chunk of those bytes before the pixel data; with iccProfile, an iCCP
// chunk.
Bytes encodePng(const PngCase& c, const Bytes& exif = {}, const Bytes& iccProfile = {});

}  // namespace png_source

namespace gif_source {

constexpr int kScreenWidth = 29;
constexpr int kScreenHeight = 17;
constexpr int kColours = 16;

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = kScreenWidth;
    int height = kScreenHeight;
    bool interlaced = false;
    int transparentIndex = NO_TRANSPARENT_COLOR;
    int indexShift = 0;  // makes later frames differ from the first
};

int indexAt(const GifFrame& frame, int x, int y);
GifColorType colourOf(int i);

Bytes encodeGif(const std::vector<GifFrame>& frames);

}  // namespace gif_source

namespace tiff_source {

struct TiffPage {
    int width = 37;
    int height = 23;
    std::uint16_t photometric = PHOTOMETRIC_RGB;
    int samples = 3;  // 4: RGB with unassociated alpha
    bool tiled = false;
    bool reduced = false;
    int shift = 0;
    std::uint16_t orientation = 0;  // 0: no orientation tag
};

std::uint8_t sampleAt(const TiffPage& page, int x, int y, int channel);
std::array<std::uint8_t, 3> paletteColour(int i);

// Pages in order; with previewAsSubIfd the second page becomes a SubIFD of the first; with
// iccProfile, the first page has that ICC profile tag.
Bytes encodeTiff(const std::vector<TiffPage>& pages, bool previewAsSubIfd = false,
                 const Bytes& iccProfile = {});

}  // namespace tiff_source

namespace webp_source {

constexpr int kWidth = 41;
constexpr int kHeight = 27;

// Smooth gradients, so that lossy coding stays close to them; channels are blue, green,
// red and alpha.
std::uint8_t sampleAt(int x, int y, int channel);

using Encoder = std::size_t (*)(const Bytes& source, std::uint8_t** output);

std::size_t losslessBgr(const Bytes& s, std::uint8_t** out);
std::size_t losslessBgra(const Bytes& s, std::uint8_t** out);
std::size_t lossyBgr(const Bytes& s, std::uint8_t** out);
std::size_t lossyBgra(const Bytes& s, std::uint8_t** out);

Bytes encodeWebp(Encoder encoder, int channels);
// The picture in an extended file with an EXIF chunk of those bytes.
Bytes withExif(const Bytes& webp, const Bytes& exif);
// The picture with a chunk of that four-letter kind ("ICCP", "EXIF") added.
Bytes withChunk(const Bytes& webp, const char* fourcc, const Bytes& payload);
// The same picture as a PNG, for the encoders that read files.
Bytes encodePng(int channels);

}  // namespace webp_source

}  // namespace ravinel::test
