#include "codec/exif/exif_orientation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "codec/jpeg/jpeg_exif.h"
#include "tools/fixtures/exif_block.h"

namespace ravinel {
namespace {

using Bytes = std::vector<uint8_t>;
using fixtures::exifWithOrientation;

// Offsets in the little-endian structure of exifWithOrientation.
constexpr size_t kCount = 8;
constexpr size_t kOrientationEntry = 10 + 12;
constexpr size_t kNextDirectory = 10 + 3 * 12;

Bytes changed(Bytes data, const std::function<void(Bytes&)>& change) {
    change(data);
    return data;
}

void put16(Bytes& data, size_t at, unsigned value) {
    data[at] = static_cast<uint8_t>(value);
    data[at + 1] = static_cast<uint8_t>(value >> 8);
}

void put32(Bytes& data, size_t at, uint32_t value) {
    put16(data, at, value & 0xFFFF);
    put16(data, at + 2, value >> 16);
}

Bytes cut(Bytes data, size_t size) {
    data.resize(size);
    return data;
}

struct ExifCase {
    const char* name;
    Bytes exif;
    int expected;
};

// Damaged data read as upright, and never past their end (the sanitizers watch); what a
// directory holds before the damage still counts.
TEST(ExifOrientation, ReadsGoodDataAndTakesDamagedDataAsUpright) {
    const Bytes good = exifWithOrientation(6);
    const std::vector<ExifCase> cases = {
        {"little-endian", good, 6},
        {"big-endian", exifWithOrientation(8, true), 8},
        {"after the APP1 prefix",
         changed(exifWithOrientation(3, true),
                 [](Bytes& d) {
                     d.insert(d.begin(), {'E', 'x', 'i', 'f', 0, 0});
                 }),
         3},
        {"a long instead of a short",
         changed(good,
                 [](Bytes& d) {
                     put16(d, kOrientationEntry + 2, 4);
                     put32(d, kOrientationEntry + 8, 6);
                 }),
         6},
        {"empty", {}, 1},
        {"header only", cut(good, 4), 1},
        {"unknown byte order", changed(good, [](Bytes& d) { d[1] = 'M'; }), 1},
        {"BigTIFF magic", changed(good, [](Bytes& d) { d[2] = 43; }), 1},
        {"directory past the end", changed(good, [](Bytes& d) { put32(d, 4, 0xFFFFFFF0u); }), 1},
        {"directory at the last byte",
         changed(good, [](Bytes& d) { put32(d, 4, static_cast<uint32_t>(d.size() - 1)); }), 1},
        {"directory inside the header", changed(good, [](Bytes& d) { put32(d, 4, 2); }), 1},
        {"cut inside the orientation entry", cut(good, kOrientationEntry + 9), 1},
        {"cut after the orientation entry", cut(good, kOrientationEntry + 12), 6},
        {"huge entry count", changed(good, [](Bytes& d) { put16(d, kCount, 0xFFFF); }), 6},
        {"no entries", changed(good, [](Bytes& d) { put16(d, kCount, 0); }), 1},
        {"value 0", changed(good, [](Bytes& d) { put16(d, kOrientationEntry + 8, 0); }), 1},
        {"value 9", changed(good, [](Bytes& d) { put16(d, kOrientationEntry + 8, 9); }), 1},
        {"value count 0", changed(good, [](Bytes& d) { put32(d, kOrientationEntry + 4, 0); }), 1},
        {"ASCII type", changed(good, [](Bytes& d) { put16(d, kOrientationEntry + 2, 2); }), 1},
        {"no tag, next directory loops back",
         changed(good,
                 [](Bytes& d) {
                     put16(d, kOrientationEntry, 0x0113);
                     put32(d, kNextDirectory, 8);
                 }),
         1},
    };
    for (const ExifCase& c : cases) {
        EXPECT_EQ(exifOrientation(c.exif), c.expected) << c.name;
    }
}

Bytes segment(uint8_t marker, const Bytes& payload) {
    const size_t length = payload.size() + 2;
    Bytes out = {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes concat(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    return out;
}

TEST(JpegExifOrientation, FindsTheExifSegmentBeforeTheScanOnly) {
    const Bytes soi = {0xFF, 0xD8};
    Bytes exif = {'E', 'x', 'i', 'f', 0, 0};
    const Bytes tiff = exifWithOrientation(5, true);
    exif.insert(exif.end(), tiff.begin(), tiff.end());
    const Bytes xmp = {'h', 't', 't', 'p', ':', '/', '/', 'n', 's', 0};
    const Bytes app0 = segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 2, 0, 0, 1, 0, 1, 0, 0});
    const Bytes scan = segment(0xDA, {1, 1, 0, 0, 63, 0});
    const Bytes overlong = {0xFF, 0xE1, 0x40, 0x00, 'E', 'x', 'i', 'f', 0, 0};
    const std::vector<ExifCase> cases = {
        {"after APP0", concat({soi, app0, segment(0xE1, exif), scan}), 5},
        {"after another APP1 and fill bytes",
         concat({soi, segment(0xE1, xmp), {0xFF, 0xFF}, segment(0xE1, exif), scan}), 5},
        {"none", concat({soi, app0, scan}), 1},
        {"after the scan", concat({soi, app0, scan, segment(0xE1, exif)}), 1},
        {"segment longer than the file", concat({soi, overlong, tiff}), 1},
        {"segment length 1", concat({soi, {0xFF, 0xE0, 0x00, 0x01}, segment(0xE1, exif)}), 1},
        {"no marker where one belongs", concat({soi, {0x00, 0xE1}, segment(0xE1, exif)}), 1},
        {"not a JPEG", concat({{0xFF, 0xD9}, segment(0xE1, exif)}), 1},
        {"cut after the first marker", {0xFF, 0xD8, 0xFF}, 1},
    };
    for (const ExifCase& c : cases) {
        EXPECT_EQ(jpegExifOrientation(c.exif), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace ravinel
