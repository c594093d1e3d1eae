#include <algorithm>
#include <fstream>

#include "dib/nk_dib.h"
#include "dib/nk_dib_error.h"

namespace ravinel {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;

void putU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

// The 40-byte header, the palette and the pixels, after prefix bytes left for a file
// header. biSizeImage is the size of the block, which for run-length data is the
// coded size.
std::vector<uint8_t> packedDib(const BitmapInfoHeader& h, std::span<const RgbQuad> palette,
                               std::span<const uint8_t> pixels, size_t prefix) {
    std::vector<uint8_t> out(prefix);
    out.reserve(prefix + kInfoHeaderSize + 4 * palette.size() + pixels.size());
    putU32(out, kInfoHeaderSize);
    putU32(out, static_cast<uint32_t>(h.biWidth));
    putU32(out, static_cast<uint32_t>(h.biHeight));
    putU16(out, h.biPlanes);
    putU16(out, h.biBitCount);
    putU32(out, h.biCompression);
    putU32(out, static_cast<uint32_t>(pixels.size()));
    putU32(out, static_cast<uint32_t>(h.biXPelsPerMeter));
    putU32(out, static_cast<uint32_t>(h.biYPelsPerMeter));
    putU32(out, static_cast<uint32_t>(palette.size()));
    putU32(out, h.biClrImportant);
    for (const RgbQuad& q : palette) {
        out.insert(out.end(), {q.rgbBlue, q.rgbGreen, q.rgbRed, q.rgbReserved});
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

}  // namespace

std::vector<uint8_t> NkDib::saveToStream() const {
    std::vector<uint8_t> out = packedDib(header(), palette(), pixelBlock(), kFileHeaderSize);
    std::vector<uint8_t> fileHeader;
    putU16(fileHeader, 0x4D42);  // "BM"
    putU32(fileHeader, static_cast<uint32_t>(out.size()));
    putU32(fileHeader, 0);  // reserved
    putU32(fileHeader,
           static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + 4 * palette().size()));
    std::copy(fileHeader.begin(), fileHeader.end(), out.begin());
    return out;
}

std::vector<uint8_t> NkDib::saveToClipboardFormat() const {
    return packedDib(header(), palette(), pixelBlock(), 0);
}

void NkDib::saveToFile(const std::string& path) const {
    const std::vector<uint8_t> bytes = saveToStream();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw NkDibError("TNkDIB.SaveToFile: Cannot write " + path);
    }
}

}  // namespace ravinel
